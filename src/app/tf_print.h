#pragma once

// Printing the main window as shown. F_PRINT (TF_PRINT) asks for the paper
// orientation, the platform print dialog then chooses the printer, and the
// main window's print run (handed in by the owner) prints its client area on
// one page. The drawing step is a plain function so it can be checked on any
// paint device.

#include "settings/expected.h"

#include <QDialog>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>

class QGroupBox;
class QLabel;
class QPainter;
class QPrinter;
class QPushButton;
class QRadioButton;

namespace mekuri {

// The print job name: the application title + " - 印刷ジョブ".
QString printJobName();

// Where an image of imageSize pixels goes on a device of dpiX × dpiY: the
// top-left corner of the printable area, scaled to the size it has on a
// 96-dpi screen.
QRect printedImageRect(QSize imageSize, int dpiX, int dpiY);

// Draws image at printedImageRect with the painter device's resolution.
void drawWindowImage(QPainter& painter, const QImage& image);

// One print job of one page holding image: names the job, starts it, draws,
// ends it. Fails when the job cannot be started or the printer reports an
// error; the text says why.
Status printWindowImage(QPrinter& printer, const QImage& image, const QString& jobName);

// The platform print dialog over printer; true when the user confirmed.
using PrintDialogRunner = std::function<bool(QPrinter& printer, QWidget* parent)>;
bool runPrintDialog(QPrinter& printer, QWidget* parent);
// Tests answer the print dialog themselves; an empty runner restores QPrintDialog.
void setPrintDialogForTesting(PrintDialogRunner runner);

// The printer the print-as-shown run uses: the program's current printer,
// unless a test installed one (not owned; nullptr restores the current one).
QPrinter& printAsShownPrinter();
void setPrintAsShownPrinterForTesting(QPrinter* printer);

class TF_PRINT : public QDialog {
    Q_OBJECT

public:
    // Steps 3 to 8 of the print run on the main window, with the printer
    // the user confirmed.
    using PrintRun = std::function<Status(QPrinter& printer)>;

    TF_PRINT(QWidget* owner, QPrinter& printer, PrintRun run);

    // The print run: orientation to the printer, print dialog (cancel leaves
    // this dialog open), the main window's run, then close. A failed run is
    // reported with the standard error report and leaves this dialog open.
    void BTN_PRINTClick();

    // The selected item of RADIO_GRP_LAND: 0 portrait, 1 landscape.
    int orientationItem() const;
    void setOrientationItem(int item);

private:
    QPrinter& m_printer;
    PrintRun m_run;
    QGroupBox* m_radioGroup = nullptr;
    QRadioButton* m_portrait = nullptr;
    QRadioButton* m_landscape = nullptr;
    QLabel* m_label = nullptr;
    QPushButton* m_printButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

}  // namespace mekuri
