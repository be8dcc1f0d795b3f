#include "mycal/tf_pv_set.h"

#include "dates/date_serial.h"
#include "dates/date_text.h"
#include "mycal/anniversary_list.h"
#include "mycal/page_picture.h"
#include "mycal/radio_group.h"
#include "mycal/tf_prev.h"
#include "platform/command_guard.h"
#include "platform/dialogs.h"
#include "platform/month_calendar.h"
#include "platform/printer.h"
#include "platform/system_colors.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>

namespace mekuri {

namespace {

const QString kSettei = QStringLiteral("SETTEI");

QString colorFileName() { return QStringLiteral("mkrikinc.dat"); }
QString listFileName() { return QStringLiteral("mkrikils.txt"); }

// Connects a button-like signal to a handler run through the standard error report.
template <typename Sender, typename Signal>
void connectHandler(Sender* sender, Signal signal, TF_PV_SET* window, void (TF_PV_SET::*handler)()) {
    QObject::connect(sender, signal, window, [window, handler] { runCommand([&] { (window->*handler)(); }); });
}

}  // namespace

MyCalSwitches readMyCalSwitches(const IniFile& ini) {
    MyCalSwitches s;
    s.disp = ini.readBool(kSettei, QStringLiteral("Disp"), true);
    s.frame = ini.readBool(kSettei, QStringLiteral("Frame"), true);
    s.jpegQuality = ini.readInteger(kSettei, QStringLiteral("J_GASITU"), 0);
    s.kinenOn = ini.readBool(kSettei, QStringLiteral("KinenOn"), true);
    s.youbi = ini.readInteger(kSettei, QStringLiteral("Youbi"), 0);
    s.picture = ini.readString(kSettei, QStringLiteral("Picture"), QString());
    return s;
}

QString myCalendarCaption(const QDate& date) {
    return QStringLiteral("【 ") + QString::number(date.year()) + QStringLiteral("年") +
           QString::number(date.month()) + QStringLiteral("月 】のマイカレンダー作成設定画面");
}

QDate shiftYear(const QDate& date, int years) {
    const int year = date.year() + years;
    const int day = qMin(date.day(), QDate(year, date.month(), 1).daysInMonth());
    return QDate(year, date.month(), day);
}

TF_PV_SET::TF_PV_SET(const AppPaths& paths, ColorDialogState& colorDialog, const HolidayTable& holidays,
                     QWidget* parent)
    : QDialog(parent), m_paths(paths), m_colorDialog(colorDialog), m_holidays(holidays) {
    setObjectName(QStringLiteral("F_PV_SET"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(591, 459);
    buildControls();
}

TF_PV_SET::~TF_PV_SET() = default;

void TF_PV_SET::buildControls() {
    auto place = [this](QWidget* w, const char* name, int x, int y, int width, int height) {
        w->setObjectName(QString::fromLatin1(name));
        w->setGeometry(x, y, width, height);
    };

    RDO_YOUBI = new RadioGroup(QStringLiteral("曜日の表記"), {QStringLiteral("日"), QStringLiteral("Sun")}, 2, this);
    place(RDO_YOUBI, "RDO_YOUBI", 12, 8, 180, 52);
    CHK_PIC_DISP = new QCheckBox(QStringLiteral("画像の表示"), this);
    place(CHK_PIC_DISP, "CHK_PIC_DISP", 12, 70, 100, 22);
    BTN_PIC_OPEN = new QPushButton(QStringLiteral("画像の指定"), this);
    place(BTN_PIC_OPEN, "BTN_PIC_OPEN", 112, 68, 80, 26);
    RDO_JPG_QT = new RadioGroup(QStringLiteral("JPEG画像の画質"), {QStringLiteral("通常"), QStringLiteral("低")}, 2, this);
    place(RDO_JPG_QT, "RDO_JPG_QT", 12, 100, 180, 52);
    CHK_FRAME = new QCheckBox(QStringLiteral("枠"), this);
    place(CHK_FRAME, "CHK_FRAME", 12, 160, 60, 22);
    BTN_SYOKI = new QPushButton(QStringLiteral("初期値"), this);
    place(BTN_SYOKI, "BTN_SYOKI", 112, 158, 80, 26);
    Label1 = new QLabel(QStringLiteral("通常使うﾌﾟﾘﾝﾀの現況"), this);
    place(Label1, "Label1", 12, 196, 180, 18);
    LBL_NOW_PRINTER = new QLabel(this);
    place(LBL_NOW_PRINTER, "LBL_NOW_PRINTER", 12, 216, 180, 18);

    Label3 = new QLabel(QStringLiteral("記念日"), this);
    place(Label3, "Label3", 210, 8, 60, 18);
    Label4 = new QLabel(QStringLiteral("日付を選び登録して下さい。削除はリストで右クリックです"), this);
    Label4->setWordWrap(true);
    place(Label4, "Label4", 270, 4, 310, 36);
    MonthCalendar2 = new MonthCalendar(this);
    place(MonthCalendar2, "MonthCalendar2", 210, 44, 230, 200);
    BTN_TOU = new QPushButton(QStringLiteral("登録"), this);
    place(BTN_TOU, "BTN_TOU", 210, 250, 70, 26);
    Label5 = new QLabel(QStringLiteral("リスト"), this);
    place(Label5, "Label5", 450, 44, 120, 18);
    ListBox1 = new QListWidget(this);
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    place(ListBox1, "ListBox1", 450, 64, 128, 212);
    CHK_KINEN_ON = new QCheckBox(QStringLiteral("記念日を印字する"), this);
    place(CHK_KINEN_ON, "CHK_KINEN_ON", 210, 286, 150, 22);
    LBL_KINEN_CLR = new QLabel(QStringLiteral(" ７ "), this);
    LBL_KINEN_CLR->setAutoFillBackground(true);
    {
        QFont f(QStringLiteral("ＭＳ Ｐ明朝"));
        f.setPixelSize(48);
        LBL_KINEN_CLR->setFont(f);
        QPalette p = LBL_KINEN_CLR->palette();
        p.setColor(QPalette::Window, Qt::white);
        LBL_KINEN_CLR->setPalette(p);
    }
    place(LBL_KINEN_CLR, "LBL_KINEN_CLR", 370, 282, 80, 60);
    BTN_KINEN_CLR = new QPushButton(QStringLiteral("文字色..."), this);
    place(BTN_KINEN_CLR, "BTN_KINEN_CLR", 460, 300, 90, 26);
    Label6 = new QLabel(QStringLiteral("記念日の年の更新はリストの右クリックです"), this);
    place(Label6, "Label6", 210, 350, 370, 18);
    Label2 = new QLabel(QStringLiteral("祝祭日は休日ﾃﾞｰﾀに基づきます"), this);
    place(Label2, "Label2", 210, 372, 370, 18);

    BTN_SUB_APP_END = new QPushButton(QStringLiteral("ソフト終了"), this);
    place(BTN_SUB_APP_END, "BTN_SUB_APP_END", 12, 416, 100, 30);
    BTN_PRE = new QPushButton(QStringLiteral("プレビュー"), this);
    place(BTN_PRE, "BTN_PRE", 360, 416, 100, 30);
    CancelBtn = new QPushButton(QStringLiteral("キャンセル"), this);
    place(CancelBtn, "CancelBtn", 476, 416, 100, 30);
    for (QPushButton* b : {BTN_PIC_OPEN, BTN_SYOKI, BTN_TOU, BTN_KINEN_CLR, BTN_SUB_APP_END, BTN_PRE, CancelBtn}) {
        b->setAutoDefault(false);
    }

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    POP_DEL = PopupMenu1->addAction(QStringLiteral("削除"));
    POP_DEL->setObjectName(QStringLiteral("POP_DEL"));
    PopupMenu1->addSeparator();
    POP_NEN_INC = PopupMenu1->addAction(QStringLiteral("年＋1"));
    POP_NEN_INC->setObjectName(QStringLiteral("POP_NEN_INC"));
    POP_NEN_DEC = PopupMenu1->addAction(QStringLiteral("年－1"));
    POP_NEN_DEC->setObjectName(QStringLiteral("POP_NEN_DEC"));
    connect(ListBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(ListBox1->viewport()->mapToGlobal(pos)); });

    connectHandler(CHK_PIC_DISP, &QCheckBox::clicked, this, &TF_PV_SET::CHK_PIC_DISPClick);
    connectHandler(BTN_PIC_OPEN, &QPushButton::clicked, this, &TF_PV_SET::BTN_PIC_OPENClick);
    connectHandler(BTN_PRE, &QPushButton::clicked, this, &TF_PV_SET::BTN_PREClick);
    connectHandler(BTN_SYOKI, &QPushButton::clicked, this, &TF_PV_SET::BTN_SYOKIClick);
    connectHandler(BTN_KINEN_CLR, &QPushButton::clicked, this, &TF_PV_SET::BTN_KINEN_CLRClick);
    connectHandler(BTN_TOU, &QPushButton::clicked, this, &TF_PV_SET::BTN_TOUClick);
    connectHandler(POP_DEL, &QAction::triggered, this, &TF_PV_SET::POP_DELClick);
    connectHandler(POP_NEN_INC, &QAction::triggered, this, &TF_PV_SET::POP_NEN_INCClick);
    connectHandler(POP_NEN_DEC, &QAction::triggered, this, &TF_PV_SET::POP_NEN_DECClick);
    connect(BTN_SUB_APP_END, &QPushButton::clicked, this, [this] { done(mrSoftEnd); });
    // Esc reaches QDialog::reject as well.
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

int TF_PV_SET::openFor(const QDate& selected) {
    prepareOpening(selected);
    const int result = exec();
    finishClosing();
    return result;
}

void TF_PV_SET::prepareOpening(const QDate& selected) {
    // 1. The switches and the picture path; nothing is written here.
    const MyCalSwitches s = readMyCalSwitches(IniFile::loadOrEmpty(m_paths.iniFile()));
    CHK_PIC_DISP->setChecked(s.disp);
    CHK_FRAME->setChecked(s.frame);
    RDO_JPG_QT->setItemIndex(s.jpegQuality);
    CHK_KINEN_ON->setChecked(s.kinenOn);
    RDO_YOUBI->setItemIndex(s.youbi);
    m_picturePath = s.picture;
    // 2.
    CHK_PIC_DISPClick();
    // 3. The anniversary colour.
    throwIfFailed(ReadColorFile(m_paths.file(colorFileName()), m_colorDialog));
    setAnniversaryColor(colorFromValue(m_colorDialog.color));
    // 4. to 6.
    LBL_NOW_PRINTER->setText(currentPrinterName());
    m_selectedDate = selected;
    MonthCalendar2->setSelectedDate(selected);
    Expected<QStringList> lines = loadAnniversaryList(m_paths.file(listFileName()));
    if (!lines.ok()) throw CommandError(lines.error());
    QStringList sorted = lines.value();
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    ListBox1->clear();
    ListBox1->addItems(sorted);
    // 7. and 8.
    m_pagePicture = QImage();
    setWindowTitle(myCalendarCaption(selected));
}

void TF_PV_SET::finishClosing() {
    // 10. to 12.; both writes are tried, the first failure is reported.
    m_pagePicture = QImage();
    const Status settings = changeIniFile(m_paths.iniFile(), [this](IniFile& ini) {
        ini.writeBool(kSettei, QStringLiteral("Disp"), CHK_PIC_DISP->isChecked());
        ini.writeBool(kSettei, QStringLiteral("Frame"), CHK_FRAME->isChecked());
        ini.writeInteger(kSettei, QStringLiteral("J_GASITU"), RDO_JPG_QT->itemIndex());
        ini.writeBool(kSettei, QStringLiteral("KinenOn"), CHK_KINEN_ON->isChecked());
        ini.writeInteger(kSettei, QStringLiteral("Youbi"), RDO_YOUBI->itemIndex());
    });
    const Status list = saveAnniversaryList(m_paths.file(listFileName()), listLines());
    throwIfFailed(settings);
    throwIfFailed(list);
}

PageInputs TF_PV_SET::pageInputs() const {
    PageInputs in;
    in.displayedDate = m_selectedDate;
    in.frame = CHK_FRAME->isChecked();
    in.pictureShown = CHK_PIC_DISP->isChecked();
    in.weekdayNotation = RDO_YOUBI->itemIndex();
    in.anniversariesShown = CHK_KINEN_ON->isChecked();
    in.anniversaryColor = anniversaryColor();
    in.anniversaries = listLines();
    if (m_selectedDate.isValid()) in.holidays = m_holidays.rows[m_selectedDate.month() - 1];
    in.holidaySlotCount = m_holidays.slotCount;
    in.picture = m_pagePicture;
    return in;
}

QStringList TF_PV_SET::listLines() const {
    QStringList out;
    for (int i = 0; i < ListBox1->count(); ++i) out.append(ListBox1->item(i)->text());
    return out;
}

QColor TF_PV_SET::anniversaryColor() const { return LBL_KINEN_CLR->palette().color(QPalette::WindowText); }

void TF_PV_SET::setAnniversaryColor(const QColor& color) {
    QPalette p = LBL_KINEN_CLR->palette();
    p.setColor(QPalette::WindowText, color);
    LBL_KINEN_CLR->setPalette(p);
}

void TF_PV_SET::CHK_PIC_DISPClick() {
    BTN_PIC_OPEN->setEnabled(CHK_PIC_DISP->isChecked());
    RDO_JPG_QT->setEnabled(CHK_PIC_DISP->isChecked());
}

QString TF_PV_SET::pictureStartFolder() const {
    const QFileInfo current(m_picturePath);
    if (!m_picturePath.isEmpty() && current.isFile()) return current.absolutePath();
    const QStringList pictures = QStandardPaths::standardLocations(QStandardPaths::PicturesLocation);
    for (const QString& folder : pictures) {
        if (QFileInfo(folder).isDir()) return folder;
    }
    return QDir::currentPath();
}

void TF_PV_SET::BTN_PIC_OPENClick() {
    const std::optional<QString> chosen = dialogs().openFile(
        QString(), QStringLiteral("イメージファイル(JPEG/BMP)|*.jpeg;*.jpg;*.bmp"), pictureStartFolder());
    if (!chosen) return;
    m_picturePath = *chosen;
    throwIfFailed(changeIniFile(m_paths.iniFile(), [this](IniFile& ini) {
        ini.writeString(kSettei, QStringLiteral("Picture"), m_picturePath);
    }));
}

void TF_PV_SET::BTN_PREClick() {
    if (CHK_PIC_DISP->isChecked()) {
        if (m_picturePath.isEmpty() || !QFileInfo(m_picturePath).isFile()) {
            dialogs().warning(QStringLiteral("前回指定した画像が移動または削除されています。再度指定して下さい"));
            return;
        }
        Expected<QImage> picture = loadPagePicture(m_picturePath, RDO_JPG_QT->itemIndex() == 1, m_pagePicture);
        if (!picture.ok()) throw CommandError(picture.error());
        m_pagePicture = picture.value();
        if (m_pagePicture.width() == 0 || m_pagePicture.height() == 0) {
            dialogs().warning(QStringLiteral("画像を指定して下さい"));
            return;
        }
        if (m_pleaseWait) m_pleaseWait(this);
    }
    TF_PREV::openPreview(this, m_paths, pageInputs());
    LBL_NOW_PRINTER->setText(currentPrinterName());
}

void TF_PV_SET::BTN_SYOKIClick() {
    if (dialogs().confirm(QStringLiteral("プレビュー画面のカレンダー印刷の設定を初期値に戻しますか？"), false) !=
        Answer::Yes) {
        return;
    }
    throwIfFailed(changeIniFile(m_paths.iniFile(), [](IniFile& ini) {
        ini.writeInteger(QStringLiteral("Font"), QStringLiteral("Name"), 0);
        ini.writeInteger(QStringLiteral("Font"), QStringLiteral("Size"), 13);
        ini.writeInteger(QStringLiteral("YOHAKU"), QStringLiteral("Left"), 17);
        ini.writeInteger(QStringLiteral("YOHAKU"), QStringLiteral("Top"), 20);
        ini.writeInteger(kSettei, QStringLiteral("Gyokan"), 4);
        ini.writeInteger(kSettei, QStringLiteral("Hiritu"), 100);
        ini.writeInteger(kSettei, QStringLiteral("Modal_L"), 24);
        ini.writeInteger(kSettei, QStringLiteral("Modal_T"), 24);
        ini.writeInteger(kSettei, QStringLiteral("Modal_W"), 1083);
        ini.writeInteger(kSettei, QStringLiteral("Modal_H"), 650);
        ini.writeInteger(kSettei, QStringLiteral("Mojikan"), 27);
        ini.writeFloat(kSettei, QStringLiteral("ZOOM_Hi"), 0.5);
        ini.writeInteger(kSettei, QStringLiteral("Syuku"), 3);
    }));
}

void TF_PV_SET::BTN_KINEN_CLRClick() {
    const QString file = m_paths.file(colorFileName());
    throwIfFailed(ReadColorFile(file, m_colorDialog));
    if (!dialogs().chooseColor(m_colorDialog)) return;
    setAnniversaryColor(colorFromValue(m_colorDialog.color));
    throwIfFailed(WriteColorFile(file, m_colorDialog));
}

void TF_PV_SET::BTN_TOUClick() {
    if (ListBox1->count() >= kMaxAnniversaries) {
        dialogs().warning(QStringLiteral("登録は１００件までです"));
        return;
    }
    const QString t = FormatDateText(FMT_KINEN, DateSerial::fromQDate(MonthCalendar2->selectedDate()));
    for (int i = 0; i < ListBox1->count(); ++i) {
        if (ListBox1->item(i)->text() == t) {
            dialogs().warning(t + QStringLiteral(" は既に登録済みです"));
            return;
        }
    }
    ListBox1->insertItem(0, t);
}

void TF_PV_SET::POP_DELClick() {
    if (ListBox1->selectedItems().isEmpty()) {
        dialogs().warning(QStringLiteral("リストの項目を選択して下さい"));
        return;
    }
    for (int i = ListBox1->count() - 1; i >= 0; --i) {
        if (ListBox1->item(i)->isSelected()) delete ListBox1->takeItem(i);
    }
}

void TF_PV_SET::POP_NEN_INCClick() { shiftSelectedYears(1); }
void TF_PV_SET::POP_NEN_DECClick() { shiftSelectedYears(-1); }

void TF_PV_SET::shiftSelectedYears(int years) {
    if (ListBox1->selectedItems().isEmpty()) {
        dialogs().warning(QStringLiteral("リストの項目を選択して下さい"));
        return;
    }
    for (int i = 0; i < ListBox1->count(); ++i) {
        QListWidgetItem* item = ListBox1->item(i);
        if (!item->isSelected()) continue;
        const Expected<DateSerial> d = ParseShortDate(item->text());
        if (!d.ok()) throw CommandError(d.error());
        const QDate shifted = shiftYear(d->toQDate(), years);
        if (shifted.year() < 1900 || shifted.year() > 2087) continue;
        item->setText(FormatDateText(FMT_SHORT, DateSerial::fromQDate(shifted)));
        item->setSelected(false);
    }
}

}  // namespace mekuri
