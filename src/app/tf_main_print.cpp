// Printing the calendar as shown: F_PRINT asks for the orientation and the
// printer, then the main window prints an image of its client area (the
// calendar as it now shows, and the status bar carrying the caption).
#include "app/tf_main.h"
#include "app/tf_print.h"

#include <QAction>
#include <QImage>
#include <QLayout>
#include <QPixmap>
#include <QToolBar>

namespace mekuri {

namespace {

// Steps 7 and 8 run on every way out of the print, a failure included.
class RestoreAfterPrint {
public:
    explicit RestoreAfterPrint(TF_MAIN& window) : m_window(window) {}
    ~RestoreAfterPrint() {
        m_window.ToolBar1()->setVisible(m_window.action("POP_MENU")->isChecked());
        m_window.setStatusText(QString());
    }
    RestoreAfterPrint(const RestoreAfterPrint&) = delete;
    RestoreAfterPrint& operator=(const RestoreAfterPrint&) = delete;

private:
    TF_MAIN& m_window;
};

// Steps 3 to 8 of the print run.
Status printAsShown(TF_MAIN& window, QPrinter& printer) {
    RestoreAfterPrint restore(window);
    // 3. The calendar takes the tool bar's place before the picture is taken.
    window.ToolBar1()->setVisible(false);
    if (window.layout()) window.layout()->activate();
    // 4.
    window.setStatusText(window.windowTitle());
    // 5. and 6.
    const QImage image = window.grab().toImage();
    return printWindowImage(printer, image, printJobName());
}

}  // namespace

void TF_MAIN::setUpPrintFeature() { connectEntry("POP_PRINT", &TF_MAIN::POP_PRINTClick); }

void TF_MAIN::POP_PRINTClick() {
    TF_PRINT dialog(this, printAsShownPrinter(),
                    [this](QPrinter& printer) { return printAsShown(*this, printer); });
    dialog.exec();
}

}  // namespace mekuri
