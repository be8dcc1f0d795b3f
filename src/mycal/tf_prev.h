#pragma once

// The preview window F_PREV: the My Calendar page on a white sheet with its
// shadow, printable area and margins marked, at physical size times the zoom
// ratio FRatio. The tool bar changes the page settings (each change records
// the page again: MakePreview, then Display), zooms (replaying the recorded
// page only), prints, and saves the page as an image.
//
// Opening (openPreview): printer to A4 portrait where it allows, the font
// list, the stored settings into the controls, the first build, then modal.
// Every close writes the settings back, but a failed opening writes nothing.

#include "mycal/page_layout.h"
#include "platform/page_recorder.h"
#include "platform/printer.h"
#include "settings/app_paths.h"
#include "settings/ini_file.h"

#include <QDialog>
#include <QImage>
#include <QSpinBox>
#include <QWidget>

#include <memory>

class QAction;
class QActionGroup;
class QComboBox;
class QMenu;
class QPainter;
class QScrollArea;
class QSlider;
class QToolBar;
class QToolButton;
class QWheelEvent;

namespace mekuri {

// The preview's stored settings, each limited to its range on reading.
struct PreviewSettings {
    int fontIndex = 0;   // Font/Name
    int fontSize = 13;   // Font/Size, 1..999
    int left = 17;       // YOHAKU/Left, 4..30
    int top = 20;        // YOHAKU/Top, 4..35
    int gyokan = 4;      // SETTEI/Gyokan, 0..999
    int hiritu = 100;    // SETTEI/Hiritu, 50..100
    int mojikan = 27;    // SETTEI/Mojikan, 0..999
    int modalL = 24;     // SETTEI/Modal_L .. Modal_H
    int modalT = 24;
    int modalW = 1083;
    int modalH = 650;
    double zoom = 0.5;   // SETTEI/ZOOM_Hi
};
PreviewSettings readPreviewSettings(const IniFile& ini);
void writePreviewSettings(IniFile& ini, const PreviewSettings& s);

// The zoom percentage ratio x 100 with at most four decimals, no superfluous
// zeros, and "%": 0.5 gives "50%".
QString zoomLabelText(double ratio);

// Size of the screen image: (PaperWidth + 150) x (PaperHeight + 150) printer
// pixels at physical size at the screen's dpi, times ratio, each rounded.
QSize screenImageSize(const PrinterPageMetrics& m, double ratio, double screenDpiX, double screenDpiY);

// The screen image of page: shadow, sheet, the page at the printable area's
// place, printable outline, dotted content outline, margin guides, corner
// mark and the margin values. Drawn straight at screen scale (the page is
// replayed through a scaled painter). Null when it cannot be allocated.
QImage MakeScreenImage(const RecordedPage& page, const PrinterPageMetrics& m, int leftMm, int topMm,
                       double ratio, double screenDpiX, double screenDpiY);

// Draws the screen image of size `size` onto p, in the image's own
// coordinates; a painter translated and clipped to a part draws just that part.
void paintScreenImage(QPainter& p, const RecordedPage& page, const PrinterPageMetrics& m, int leftMm, int topMm,
                      QSize size);

// The preview's sheet: as large as the screen image at the current zoom, but
// holding no image of that size. Each paint draws only the part that shows
// (the scroll box's viewport at most), so a zoom step costs the same memory
// at 300 % as at 50 %.
class PreviewSheet : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;
    // Shows page at size (the screen image's size; the sheet takes it as its
    // own); no page shows white.
    void setPage(std::shared_ptr<const RecordedPage> page, const PrinterPageMetrics& m, int leftMm, int topMm,
                 QSize size);
    QSize sizeHint() const override { return size(); }
    // The part r of the screen image, as the sheet paints it.
    QImage renderPart(const QRect& r) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::shared_ptr<const RecordedPage> m_page;
    PrinterPageMetrics m_metrics;
    int m_leftMm = 0;
    int m_topMm = 0;
};

// A number box whose arrows (and arrow keys) report a step; typing does not.
class NumberBox : public QSpinBox {
    Q_OBJECT

public:
    using QSpinBox::QSpinBox;
    void stepBy(int steps) override;

Q_SIGNALS:
    void stepped();
};

class TF_PREV : public QDialog {
    Q_OBJECT

public:
    // base: the page inputs of the settings window (date, switches, list,
    // colour, picture, holidays); the tool-bar values are filled in here.
    TF_PREV(const AppPaths& paths, const PageInputs& base, QWidget* owner);
    ~TF_PREV() override;

    // The whole opening: prepare, show modally, write back on close.
    // Throws CommandError when the opening fails (nothing written then).
    static void openPreview(QWidget* owner, const AppPaths& paths, const PageInputs& base);

    // Opening steps 2 to 6; throws CommandError on failure.
    void prepare();
    // Opening step 8 without releasing: the settings from the controls.
    void writeSettings();
    PreviewSettings settingsFromControls() const;

    // Rebuilds the recorded page from the current inputs (throws on failure).
    void MakePreview();
    // Shows page FPageNumber at FRatio.
    void Display();
    PageInputs pageInputs() const;
    const PrinterPageMetrics& pageMetrics() const { return m_metrics; }
    std::shared_ptr<const RecordedPage> currentPage() const;

    int FPageNumber = 1;
    double FRatio = 0.5;
    PageRecorder PrintPreview1;

    // ---- controls ----
    QToolBar* ToolBar1 = nullptr;
    QToolButton* SPD_PRT = nullptr;
    QToolButton* SPD_SAVE = nullptr;
    QToolButton* TOOL_PRNSET = nullptr;
    NumberBox* UD_HIRITU = nullptr;
    NumberBox* UD_LEFT = nullptr;
    NumberBox* UD_TOP = nullptr;
    QComboBox* CBO_FONT = nullptr;
    NumberBox* UD_FONT_SIZE = nullptr;
    NumberBox* UD_MOJIKAN = nullptr;
    NumberBox* UD_GYOKAN = nullptr;
    QAction* TOOL_SC = nullptr;
    QAction* TOOL_ZOOM = nullptr;
    QSlider* TrackBar1 = nullptr;
    QToolButton* LBL_HIRITU = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    PreviewSheet* Image1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* POP_SC = nullptr;
    QAction* POP_ZOOM = nullptr;
    QAction* POP_CLOSE = nullptr;

    bool scrollMode() const;

    // ---- handlers (throw CommandError on failure) ----
    void SPD_PRTClick();
    void SPD_SAVEClick();
    void TOOL_PRNSETClick();
    // Shared by the arrows of the six number boxes and the font choice.
    void UD_Click();
    void TrackBar1Change();
    void FormMouseWheel(int delta);
    void TOOL_SCClick();
    void TOOL_ZOOMClick();
    void POP_CLOSEClick();

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Wheel turns over the rest of the window that no control took.
    void wheelEvent(QWheelEvent* event) override;

private:
    void buildControls();
    void rebuildAndDisplay();
    void applyBounds(const PreviewSettings& s);

    AppPaths m_paths;
    PageInputs m_base;
    PrinterPageMetrics m_metrics;
    // Step 4 gave the controls the stored values: from then on closing
    // writes them back.
    bool m_settingsLoaded = false;
    bool m_written = false;
};

}  // namespace mekuri
