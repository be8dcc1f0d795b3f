#pragma once

// The My Calendar settings window F_PV_SET: created hidden at program start
// and kept until exit. Each opening (openFor) reloads the five switches, the
// picture path, the anniversary colour, the printer name, the date, the
// anniversary list and the caption; each closing, however it happens,
// writes the switches and the list back. The preview (TF_PREV) opens from
// here and reads the page's inputs from this window (pageInputs).

#include "holidays/holiday_table.h"
#include "mycal/page_layout.h"
#include "settings/app_paths.h"
#include "settings/color_file.h"
#include "settings/expected.h"
#include "settings/ini_file.h"

#include <QDate>
#include <QDialog>
#include <QImage>
#include <QString>

#include <functional>

class QCheckBox;
class QLabel;
class QListWidget;
class QMenu;
class QAction;
class QPushButton;

namespace mekuri {

class MonthCalendar;
class RadioGroup;

// The switches of section SETTEI the window keeps.
struct MyCalSwitches {
    bool disp = true;      // Disp
    bool frame = true;     // Frame
    int jpegQuality = 0;   // J_GASITU, item of RDO_JPG_QT
    bool kinenOn = true;   // KinenOn
    int youbi = 0;         // Youbi, item of RDO_YOUBI
    QString picture;       // Picture
};
MyCalSwitches readMyCalSwitches(const IniFile& ini);

// "【 2019年5月 】のマイカレンダー作成設定画面"
QString myCalendarCaption(const QDate& date);

// Date one year forward (+1) or back (-1), 29 February becoming 28.
QDate shiftYear(const QDate& date, int years);

class TF_PV_SET : public QDialog {
    Q_OBJECT

public:
    // Modal result of "ソフト終了".
    static constexpr int mrSoftEnd = 11;

    TF_PV_SET(const AppPaths& paths, ColorDialogState& colorDialog, const HolidayTable& holidays,
              QWidget* parent = nullptr);
    ~TF_PV_SET() override;

    // POP_MYCALENClick steps 1 to 12 for the month of selected: returns the
    // modal result. A failed opening throws CommandError; the window is then
    // not shown and nothing is written.
    int openFor(const QDate& selected);
    // Steps 1 to 8 (throws on failure) and 10 to 12 (throws after doing
    // both), for callers that show the window themselves.
    void prepareOpening(const QDate& selected);
    void finishClosing();

    // Shows the please-wait window owned by the given widget (set by the app).
    void setPleaseWait(std::function<void(QWidget*)> show) { m_pleaseWait = std::move(show); }

    // The page's inputs that this window holds, for the month of the date.
    PageInputs pageInputs() const;

    QString picturePath() const { return m_picturePath; }
    const QImage& pagePicture() const { return m_pagePicture; }
    QDate selectedDate() const { return m_selectedDate; }

    // ---- controls ----
    RadioGroup* RDO_YOUBI = nullptr;
    QCheckBox* CHK_PIC_DISP = nullptr;
    QPushButton* BTN_PIC_OPEN = nullptr;
    RadioGroup* RDO_JPG_QT = nullptr;
    QCheckBox* CHK_FRAME = nullptr;
    QPushButton* BTN_SYOKI = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* LBL_NOW_PRINTER = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    MonthCalendar* MonthCalendar2 = nullptr;
    QPushButton* BTN_TOU = nullptr;
    QLabel* Label5 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QCheckBox* CHK_KINEN_ON = nullptr;
    QLabel* LBL_KINEN_CLR = nullptr;
    QPushButton* BTN_KINEN_CLR = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* BTN_SUB_APP_END = nullptr;
    QPushButton* BTN_PRE = nullptr;
    QPushButton* CancelBtn = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* POP_DEL = nullptr;
    QAction* POP_NEN_INC = nullptr;
    QAction* POP_NEN_DEC = nullptr;

    // The lines of ListBox1 in their shown order.
    QStringList listLines() const;
    // The text colour of LBL_KINEN_CLR.
    QColor anniversaryColor() const;

    // ---- handlers (each throws CommandError on failure; the connected
    //      controls run them through the standard error report) ----
    void CHK_PIC_DISPClick();
    void BTN_PIC_OPENClick();
    void BTN_PREClick();
    void BTN_SYOKIClick();
    void BTN_KINEN_CLRClick();
    void BTN_TOUClick();
    void POP_DELClick();
    void POP_NEN_INCClick();
    void POP_NEN_DECClick();

    // The start folder of the picture dialog (BTN_PIC_OPENClick step 1).
    QString pictureStartFolder() const;

private:
    void buildControls();
    void shiftSelectedYears(int years);
    void setAnniversaryColor(const QColor& color);

    AppPaths m_paths;
    ColorDialogState& m_colorDialog;
    const HolidayTable& m_holidays;
    std::function<void(QWidget*)> m_pleaseWait;
    QString m_picturePath;
    QImage m_pagePicture;
    QDate m_selectedDate;
};

}  // namespace mekuri
