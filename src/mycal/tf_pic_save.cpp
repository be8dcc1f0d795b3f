#include "mycal/tf_pic_save.h"

#include "dates/date_serial.h"
#include "dates/date_text.h"
#include "mycal/page_image.h"
#include "mycal/radio_group.h"
#include "platform/command_guard.h"
#include "platform/dialogs.h"
#include "settings/ini_file.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace mekuri {

namespace {
const QString kSettei = QStringLiteral("SETTEI");
}

TF_PIC_SAVE::TF_PIC_SAVE(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("F_PIC_SAVE"));
    setWindowTitle(QStringLiteral("画像として保存"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(313, 245);

    Label1 = new QLabel(QStringLiteral("カレンダーを画像ファイルとして保存しますか？"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(12, 10, 290, 20);
    RDO_KEI = new RadioGroup(QStringLiteral("形式"),
                             {QStringLiteral("JPEG イメージ(JPG, JPEG)"), QStringLiteral("ビットマップ(BMP)")}, 1, this);
    RDO_KEI->setObjectName(QStringLiteral("RDO_KEI"));
    RDO_KEI->setGeometry(12, 36, 289, 72);
    RDO_KEI->setItemIndex(0);
    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setGeometry(12, 116, 289, 36);
    TrackBar1->setRange(1, 15);
    TrackBar1->setPageStep(5);
    TrackBar1->setTickPosition(QSlider::TicksAbove);
    TrackBar1->setTickInterval(1);
    TrackBar1->setValue(3);
    Label2 = new QLabel(QStringLiteral("画像の高さ"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(12, 160, 90, 16);
    LBL_POS = new QLabel(this);
    LBL_POS->setObjectName(QStringLiteral("LBL_POS"));
    LBL_POS->setGeometry(110, 160, 120, 16);
    OKBtn = new QPushButton(QStringLiteral("保存"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(120, 200, 85, 30);
    CancelBtn = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(215, 200, 85, 30);
    for (QPushButton* b : {OKBtn, CancelBtn}) b->setAutoDefault(false);

    setTabOrder(CancelBtn, RDO_KEI);
    setTabOrder(RDO_KEI, TrackBar1);
    setTabOrder(TrackBar1, OKBtn);
    CancelBtn->setFocus();

    connect(TrackBar1, &QSlider::valueChanged, this, [this] { TrackBar1Change(); });
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    // Esc and the close box end in reject() too: both cancel.
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TF_PIC_SAVE::setDivisor(int divisor) {
    TrackBar1->setValue(qBound(1, divisor, 15));
    TrackBar1Change();
}

void TF_PIC_SAVE::setFormatIndex(int index) { RDO_KEI->setItemIndex(index); }

void TF_PIC_SAVE::TrackBar1Change() { LBL_POS->setText(QString::number(MOTO_PICW / TrackBar1->value())); }

void savePageAsImage(QWidget* owner, const AppPaths& paths, const RecordedPage& page) {
    // 1. and 2.
    TF_PIC_SAVE dialog(owner);
    const IniFile ini = IniFile::loadOrEmpty(paths.iniFile());
    dialog.setFormatIndex(ini.readInteger(kSettei, QStringLiteral("Pic_K"), 0));
    dialog.MOTO_PICW = page.height();
    dialog.setDivisor(ini.readInteger(kSettei, QStringLiteral("Syuku"), 3));
    // 3. and 4.
    const int result = dialog.exec();
    const int formatIndex = dialog.RDO_KEI->itemIndex();
    const bool bitmap = formatIndex == 1;
    const int divisor = dialog.TrackBar1->value();
    throwIfFailed(changeIniFile(paths.iniFile(), [&](IniFile& f) {
        f.writeInteger(kSettei, QStringLiteral("Syuku"), divisor);
        f.writeInteger(kSettei, QStringLiteral("Pic_K"), formatIndex);
    }));
    // 5.
    if (result != QDialog::Accepted) return;
    // 6. and 7.
    const QString proposed = FormatDateText(FMT_FILE_DATE, DateSerial::today());
    Expected<QImage> image = renderPageImage(page, divisor);
    if (!image.ok()) throw CommandError(image.error());
    // 8. to 10.
    const std::optional<QString> file =
        bitmap ? dialogs().saveFile(QString(), QStringLiteral("ビットマップ (*.bmp)|*.bmp"), QStringLiteral("bmp"), proposed)
               : dialogs().saveFile(QString(), QStringLiteral("JPEG イメージファイル (*.jpg)|*.jpg"),
                                    QStringLiteral("jpg"), proposed);
    if (!file) return;
    throwIfFailed(bitmap ? saveBmpFile(image.value(), *file) : saveJpegFile(image.value(), *file));
}

}  // namespace mekuri
