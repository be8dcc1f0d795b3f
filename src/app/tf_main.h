#pragma once

// The main window F_MAIN: tool bar (ToolBar1) above the month calendar
// (MonthCalendar1), a one-panel status bar (StatusBar1) below it, and three
// menus (POP_EDIT_MN, also the context menu; POP_SETTEI_MN; POP_SHIORI_MN).
//
// Data flow: the constructor builds every control and entry (all feature
// entries disabled), lets each feature file connect and enable its own
// entries (setUpXxxFeature), then runs FormCreate: colour files -> settings
// file (read only) -> bookmarks -> holiday table -> hint handler -> bounds.
// Commands are handlers on this class; each feature's handlers live in their
// own tf_main_<feature>.cpp. Closing the window (FormCloseQuery) writes the
// geometry and the menu display to the settings file.

#include "holidays/holiday_table.h"
#include "settings/app_paths.h"
#include "settings/color_file.h"
#include "settings/ini_file.h"

#include <QDate>
#include <QMainWindow>
#include <QRect>
#include <QString>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace mekuri {

class MonthCalendar;

// Colour values the main window starts from; also what the factory colours
// command restores.
inline constexpr quint32 kClWhite = 0x00FFFFFFu;
inline constexpr quint32 kClActiveCaption = 0xFF000002u;
inline constexpr quint32 kClWindowText = 0xFF000008u;
inline constexpr quint32 kClBtnFace = 0xFF00000Fu;
inline constexpr quint32 kClInactiveCaptionText = 0xFF000013u;
inline constexpr quint32 kClInfoBk = 0xFF000018u;

// Factory window bounds (outer frame), also the defaults of the Form section.
inline constexpr int kFactoryLeft = 24;
inline constexpr int kFactoryTop = 24;
inline constexpr int kFactoryWidth = 253;
inline constexpr int kFactoryHeight = 306;

class TF_MAIN : public QMainWindow {
    Q_OBJECT

public:
    // Builds the window on the program folder paths and runs the startup
    // sequence. Never writes the settings file.
    explicit TF_MAIN(const AppPaths& paths, QWidget* parent = nullptr);
    ~TF_MAIN() override;

    // ---- program folder ----
    // AppDir: the program folder with exactly one trailing separator.
    const QString& AppDir() const { return m_paths.appDir; }
    // Ini_File: AppDir + "mkri.ini".
    QString Ini_File() const { return m_paths.iniFile(); }
    const AppPaths& paths() const { return m_paths; }

    // ---- controls ----
    MonthCalendar* MonthCalendar1() const { return m_calendar; }
    QToolBar* ToolBar1() const { return m_toolBar; }
    QStatusBar* StatusBar1() const { return m_statusBar; }
    // The shared colour chooser state of every colour file.
    ColorDialogState& ColorDialog1() { return m_colorDialog; }
    // The holiday table loaded at start (read-only during the run).
    const HolidayTable& holidayTable() const { return m_holidayTable; }

    // A menu entry or tool-bar action by its object name ("POP_TODAY",
    // "TOOL_BAR_DATE", "POP_COLOR" for a submenu's entry); nullptr if absent.
    QAction* action(const char* objectName) const;
    // A menu by its object name ("POP_EDIT_MN", "POP_SETTEI_MN",
    // "POP_SHIORI_MN", "POP_COLOR", "POP_KAISI"); nullptr if absent.
    QMenu* menu(const char* objectName) const;
    // The tool button of a tool-bar action ("TOOL_BAR_DATE").
    QToolButton* toolButton(const char* objectName) const;

    // ---- the status line (panel 0 of StatusBar1) ----
    QString statusText() const;
    void setStatusText(const QString& text);

    // ---- hints ----
    // An entry's or button's hint "short|long" (tooltip | status text).
    static void setHint(QAction* action, const QString& hint);
    static QString hintOf(const QAction* action);
    // The text after the first "|", or the whole hint without one.
    static QString longHint(const QString& hint);
    // The text before the first "|", or the whole hint without one.
    static QString shortHint(const QString& hint);

    // ---- helpers for the commands ----
    // How a checkable entry's check mark changes on a click. The menu
    // commands invert it themselves (ByHandler: Qt's automatic toggle is
    // undone before the handler runs); a two-state tool button is already
    // toggled when its handler runs (ByClick).
    enum class CheckMark { ByHandler, ByClick };
    // Connects an entry to a handler run through the standard error report
    // and enables it. Returns the entry (nullptr if the name is unknown).
    QAction* connectEntry(const char* objectName, void (TF_MAIN::*handler)(),
                          CheckMark mode = CheckMark::ByHandler);
    // As above for handlers that receive the entry (the sender).
    QAction* connectEntry(const char* objectName, void (TF_MAIN::*handler)(QAction*),
                          CheckMark mode = CheckMark::ByHandler);
    void connectEntry(QAction* entry, void (TF_MAIN::*handler)(QAction*),
                      CheckMark mode = CheckMark::ByHandler);
    // Sets the colour of the window body and of StatusBar1.
    void setBodyColor(const QColor& color);
    QColor bodyColor() const;
    // Widens the window by one pixel and narrows it again, so the calendar
    // re-lays itself out in a changed client area.
    void nudgeWidth();
    // Places the window's outer frame at bounds (no check against the screen).
    void setOuterBounds(const QRect& bounds);
    // The window's outer frame: position and size.
    QRect outerBounds() const;

    // ---- startup outcome ----
    // True when the automatic restore after a faulty holiday file asked the
    // program to end: the event loop must not run and the settings file
    // must not be written.
    bool quitRequested() const { return m_quitRequested; }

    // ---- handlers of this window ----
    void POP_MENUClick();
    void POP_ENDClick();
    // The calendar's bold-day request for month 1..12 (no year).
    quint32 MonthCalendar1GetMonthInfo(int month) const;
    // The application's hint handler: the long form of hint to the status
    // line; an empty hint clears it.
    void DisplayHint(const QString& hint);

    // ---- date readout and tools (tf_main_dates.cpp) ----
    void setUpDatesFeature();
    void TOOL_BAR_DATEClick();
    void MonthCalendar1Click();
    void POP_KAISHI_ADDClick();
    void POP_TODAYClick();
    void POP_SHITEIClick();
    void POP_KEIKAClick();
    void POP_HEISEIClick();
    void POP_SYOUWAClick();
    void POP_WASEIClick();
    void POP_SEIWAClick();
    // Shared by the four copy entries; tells them apart by their Tag.
    void POP_COPY_WAREKIClick(QAction* sender);
    // POP_EDIT_MN is about to open.
    void POP_EDIT_MNPopup();

    // ---- holiday maintenance and help (tf_main_holidays.cpp) ----
    void setUpHolidaysFeature();
    void POP_KYUJITSUClick();
    void POP_KYUJITSU_RECOVClick();
    void MN_IMPORT_HORIClick();
    // Starts a new instance and closes this one.
    void RestartProgram();
    // Opens AppDir + name with its associated program.
    void OpenAppDirFile(const QString& name);
    void POP_HELPClick();
    void POP_READMEClick();
    void POP_VERClick();

    // ---- a holiday file for a chosen year (tf_main_holiday_year.cpp) ----
    void setUpHolidayYearFeature();
    // Writes "horiday.txt" for a typed year from the holiday law, then restarts.
    void POP_KYUJITSU_NENClick();
    // ---- end of a holiday file for a chosen year ----

    // ---- bookmarks (tf_main_bookmarks.cpp) ----
    void setUpBookmarksFeature();
    // Startup step 8: the bookmark entries from the SHIORI_DAY section of
    // the settings file as read at start.
    void LoadBookmarks(const IniFile& ini);
    // Appends a bookmark entry with its submenu to POP_SHIORI_MN.
    void AddBookmarkEntry(const QString& title, const QString& dateText, int n);
    void POP_SHIORI_ADDClick();
    void AC_LIST_SHIORI_JUMPExecute(QAction* sender);
    void AC_LIST_SHIORI_CHGDATEExecute(QAction* sender);
    void AC_LIST_SHIORI_RENAMEExecute(QAction* sender);
    void AC_LIST_SHIORI_SAKUJYOExecute(QAction* sender);

    // ---- calendar colours, week start, nickname, window reset (tf_main_appearance.cpp) ----
    void setUpAppearanceFeature();
    void POP_TITLE_CClick(QAction* sender);
    // Selects the colour target by the entry's Tag (4: the window body).
    void AC_LIST_COLORExecute(QAction* sender);
    void POP_SYOKI_IRO_RECOVClick();
    // Shared by the seven weekday entries; the Tag is the first day of week.
    void POP_SUNClick(QAction* sender);
    void POP_RENAMEClick();
    void POP_SYUKKA_SIZEClick();

    // ---- printing as shown (tf_main_print.cpp) ----
    void setUpPrintFeature();
    void POP_PRINTClick();

    // ---- My Calendar (tf_main_mycal.cpp) ----
    void setUpMyCalFeature();
    void POP_MYCALENClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // No tool-bar toggling menu: the edit menu is the context menu.
    QMenu* createPopupMenu() override;

private:
    void buildControls();
    void buildMenus();
    void buildToolBar();
    void connectHints(QMenu* menu);
    void watchToolButtonHints();
    QAction* addEntry(QMenu* menu, const char* objectName, const QString& caption,
                      const QString& hint = QString());

    // Startup sequence steps 1..14.
    void FormCreate();
    void applyColorFiles();
    void LoadHolidayTable();
    // Close: writes the geometry and the menu display; never refuses.
    void FormCloseQuery();
    // The application's current hint changed (pointing at an entry or a
    // button, or away from it).
    void applicationHintChanged(const QString& hint);

    AppPaths m_paths;
    ColorDialogState m_colorDialog;
    HolidayTable m_holidayTable;

    MonthCalendar* m_calendar = nullptr;
    QToolBar* m_toolBar = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_statusPanel = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_setteiMenu = nullptr;
    QMenu* m_shioriMenu = nullptr;

    QString m_applicationHint;
    bool m_hintHandlerInstalled = false;
    bool m_quitRequested = false;
    // Bounds read at start; applied again once the frame is known.
    QRect m_startBounds;
    bool m_startBoundsPending = false;

    // ---- state and helpers of the feature files; each engineer adds to
    //      their own block only ----
    // ---- date readout and tools (tf_main_dates.cpp) ----
    // The marked start day in DateSerial days; 0 while none is marked.
    int m_startDay = 0;
    // Releases "開始": no start day, caption and hint of the idle button.
    void releaseStartButton();
    // ---- end of date readout and tools ----
    // ---- holiday maintenance and help (tf_main_holidays.cpp) ----
    // ---- end of holiday maintenance and help ----
    // ---- bookmarks (tf_main_bookmarks.cpp) ----
    // ---- end of bookmarks ----
    // ---- calendar colours, week start, nickname, window reset (tf_main_appearance.cpp) ----
    // ---- end of calendar colours ----
    // ---- printing as shown (tf_main_print.cpp) ----
    // ---- end of printing as shown ----
    // ---- My Calendar (tf_main_mycal.cpp) ----
    // Creates the hidden settings window F_PV_SET once, at its first
    // opening; a child of this window, it lives until the main window goes.
    void createMyCalendarSettingsWindow();
    class TF_PV_SET* m_pvSet = nullptr;
    // ---- end of My Calendar ----
};

}  // namespace mekuri
