#include "app/tf_print.h"

#include "platform/command_guard.h"
#include "platform/dialogs.h"
#include "platform/printer.h"

#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace mekuri {

namespace {

PrintDialogRunner& printDialogOverride() {
    static PrintDialogRunner runner;
    return runner;
}

QPrinter*& printerOverride() {
    static QPrinter* printer = nullptr;
    return printer;
}

}  // namespace

QString printJobName() { return applicationTitle() + QStringLiteral(" - 印刷ジョブ"); }

QRect printedImageRect(QSize imageSize, int dpiX, int dpiY) {
    // 64-bit products: a wide window on a 2400-dpi device stays in range.
    const qint64 w = qint64(imageSize.width()) * dpiX / 96;
    const qint64 h = qint64(imageSize.height()) * dpiY / 96;
    return QRect(0, 0, int(w), int(h));
}

void drawWindowImage(QPainter& painter, const QImage& image) {
    const QPaintDevice* device = painter.device();
    // Logical pixels: a grab on a high-density screen has more device pixels.
    const QSize size = image.deviceIndependentSize().toSize();
    const QRect target = printedImageRect(size, device->logicalDpiX(), device->logicalDpiY());
    painter.drawImage(target, image);
}

Status printWindowImage(QPrinter& printer, const QImage& image, const QString& jobName) {
    if (image.isNull()) return Error{QStringLiteral("ウィンドウの画像を取得できませんでした。")};
    printer.setDocName(jobName);
    QPainter painter;
    if (!painter.begin(&printer)) {
        QString message = QStringLiteral("印刷を開始できませんでした。");
        if (!printer.outputFileName().isEmpty()) {
            message += QStringLiteral("\n\n") + printer.outputFileName();
        }
        return Error{message};
    }
    drawWindowImage(painter, image);
    const bool ended = painter.end();
    if (!ended || printer.printerState() == QPrinter::Error) {
        return Error{QStringLiteral("印刷中にエラーが発生しました。")};
    }
    return Status::success();
}

bool runPrintDialog(QPrinter& printer, QWidget* parent) {
    if (printDialogOverride()) return printDialogOverride()(printer, parent);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void setPrintDialogForTesting(PrintDialogRunner runner) { printDialogOverride() = std::move(runner); }

QPrinter& printAsShownPrinter() {
    if (printerOverride()) return *printerOverride();
    return currentPrinter();
}

void setPrintAsShownPrinterForTesting(QPrinter* printer) { printerOverride() = printer; }

TF_PRINT::TF_PRINT(QWidget* owner, QPrinter& printer, PrintRun run)
    : QDialog(owner), m_printer(printer), m_run(std::move(run)) {
    setObjectName(QStringLiteral("F_PRINT"));
    setWindowTitle(QStringLiteral("用紙方向設定"));
    // A fixed dialog frame with only a close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(422, 128);
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPixelSize(12);
    setFont(f);

    m_radioGroup = new QGroupBox(QStringLiteral("用紙の向き"), this);
    m_radioGroup->setObjectName(QStringLiteral("RADIO_GRP_LAND"));
    m_radioGroup->setGeometry(8, 8, 120, 72);
    m_portrait = new QRadioButton(QStringLiteral("縦(&O)"), m_radioGroup);
    m_portrait->setObjectName(QStringLiteral("RADIO_GRP_LAND_0"));
    m_landscape = new QRadioButton(QStringLiteral("横(&A)"), m_radioGroup);
    m_landscape->setObjectName(QStringLiteral("RADIO_GRP_LAND_1"));
    auto* groupLayout = new QVBoxLayout(m_radioGroup);
    groupLayout->addWidget(m_portrait);
    groupLayout->addWidget(m_landscape);
    m_portrait->setChecked(true);

    m_label = new QLabel(
        QStringLiteral("説明書にも明記していますが画面サイズにより印刷できる月の数が異なります"), this);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_label->setWordWrap(true);
    m_label->setGeometry(140, 16, 274, 56);

    m_printButton = new QPushButton(QStringLiteral("印刷..."), this);
    m_printButton->setObjectName(QStringLiteral("BTN_PRINT"));
    m_printButton->setGeometry(244, 92, 81, 26);
    m_printButton->setDefault(true);
    m_printButton->setAutoDefault(true);

    m_cancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
    m_cancelButton->setObjectName(QStringLiteral("CancelBtn"));
    m_cancelButton->setGeometry(333, 92, 81, 26);
    m_cancelButton->setAutoDefault(false);

    connect(m_printButton, &QPushButton::clicked, this, &TF_PRINT::BTN_PRINTClick);
    // Esc rejects through QDialog as well.
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

int TF_PRINT::orientationItem() const { return m_landscape->isChecked() ? 1 : 0; }

void TF_PRINT::setOrientationItem(int item) {
    (item == 1 ? m_landscape : m_portrait)->setChecked(true);
}

void TF_PRINT::BTN_PRINTClick() {
    runCommand([this] {
        m_printer.setPageOrientation(orientationItem() == 0 ? QPageLayout::Portrait
                                                            : QPageLayout::Landscape);
        if (!runPrintDialog(m_printer, this)) return;
        throwIfFailed(m_run(m_printer));
        accept();
    });
}

}  // namespace mekuri
