#include "mycal/tf_prev.h"

#include "mycal/page_drawing.h"
#include "mycal/tf_pic_save.h"
#include "platform/command_guard.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/large_buffer.h"

#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>
#include <utility>

namespace mekuri {

namespace {

const QString kSettei = QStringLiteral("SETTEI");
const QString kFont = QStringLiteral("Font");
const QString kYohaku = QStringLiteral("YOHAKU");

// The tool-bar glyphs, drawn rather than shipped.
QIcon printerGlyph() {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(5, 2, 10, 6);        // paper going in
    p.setBrush(QColor(160, 160, 160));
    p.drawRect(1, 8, 18, 7);        // body
    p.setBrush(Qt::white);
    p.drawRect(5, 13, 10, 5);       // paper coming out
    p.setPen(QColor(0, 160, 0));
    p.drawPoint(16, 10);
    return QIcon(pm);
}

QIcon diskGlyph() {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.setBrush(QColor(40, 70, 160));
    p.drawRect(2, 2, 15, 15);
    p.setBrush(Qt::white);
    p.drawRect(5, 2, 9, 6);         // label
    p.setBrush(QColor(190, 190, 190));
    p.drawRect(6, 11, 7, 6);        // shutter
    return QIcon(pm);
}

NumberBox* numberBox(QWidget* parent, const char* name, int min, int max, const QString& hint) {
    auto* box = new NumberBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(min, max);
    box->setGroupSeparatorShown(false);
    box->setToolTip(hint);
    box->setMinimumWidth(60);
    return box;
}

}  // namespace

PreviewSettings readPreviewSettings(const IniFile& ini) {
    PreviewSettings s;
    s.fontIndex = ini.readInteger(kFont, QStringLiteral("Name"), 0);
    s.fontSize = qBound(1, ini.readInteger(kFont, QStringLiteral("Size"), 13), 999);
    s.left = qBound(4, ini.readInteger(kYohaku, QStringLiteral("Left"), 17), 30);
    s.top = qBound(4, ini.readInteger(kYohaku, QStringLiteral("Top"), 20), 35);
    s.gyokan = qBound(0, ini.readInteger(kSettei, QStringLiteral("Gyokan"), 4), 999);
    s.hiritu = qBound(50, ini.readInteger(kSettei, QStringLiteral("Hiritu"), 100), 100);
    s.mojikan = qBound(0, ini.readInteger(kSettei, QStringLiteral("Mojikan"), 27), 999);
    s.modalL = ini.readInteger(kSettei, QStringLiteral("Modal_L"), 24);
    s.modalT = ini.readInteger(kSettei, QStringLiteral("Modal_T"), 24);
    s.modalW = ini.readInteger(kSettei, QStringLiteral("Modal_W"), 1083);
    s.modalH = ini.readInteger(kSettei, QStringLiteral("Modal_H"), 650);
    s.zoom = ini.readFloat(kSettei, QStringLiteral("ZOOM_Hi"), 0.5);
    // The slider keeps the ratio in 0.5 to 3; a hand-edited value beyond
    // (or 0, which would give an empty screen image) is brought back there.
    if (!std::isfinite(s.zoom)) s.zoom = 0.5;
    s.zoom = qBound(0.5, s.zoom, 3.0);
    return s;
}

void writePreviewSettings(IniFile& ini, const PreviewSettings& s) {
    ini.writeInteger(kFont, QStringLiteral("Name"), s.fontIndex);
    ini.writeInteger(kFont, QStringLiteral("Size"), s.fontSize);
    ini.writeInteger(kYohaku, QStringLiteral("Left"), s.left);
    ini.writeInteger(kYohaku, QStringLiteral("Top"), s.top);
    ini.writeInteger(kSettei, QStringLiteral("Gyokan"), s.gyokan);
    ini.writeInteger(kSettei, QStringLiteral("Hiritu"), s.hiritu);
    ini.writeInteger(kSettei, QStringLiteral("Modal_L"), s.modalL);
    ini.writeInteger(kSettei, QStringLiteral("Modal_T"), s.modalT);
    ini.writeInteger(kSettei, QStringLiteral("Modal_W"), s.modalW);
    ini.writeInteger(kSettei, QStringLiteral("Modal_H"), s.modalH);
    ini.writeInteger(kSettei, QStringLiteral("Mojikan"), s.mojikan);
    ini.writeFloat(kSettei, QStringLiteral("ZOOM_Hi"), s.zoom);
}

QString zoomLabelText(double ratio) {
    QString text = QString::number(std::round(ratio * 100.0 * 10000.0) / 10000.0, 'f', 4);
    while (text.endsWith(u'0')) text.chop(1);
    if (text.endsWith(u'.')) text.chop(1);
    if (text == QStringLiteral("-0")) text = QStringLiteral("0");
    return text + QStringLiteral("%");
}

QSize screenImageSize(const PrinterPageMetrics& m, double ratio, double screenDpiX, double screenDpiY) {
    if (m.PixelsPerInchX <= 0 || m.PixelsPerInchY <= 0) return {};
    const double w = double(m.PaperWidth + 150) / m.PixelsPerInchX * screenDpiX * ratio;
    const double h = double(m.PaperHeight + 150) / m.PixelsPerInchY * screenDpiY * ratio;
    return QSize(int(std::lround(w)), int(std::lround(h)));
}

QImage MakeScreenImage(const RecordedPage& page, const PrinterPageMetrics& m, int leftMm, int topMm, double ratio,
                       double screenDpiX, double screenDpiY) {
    const QSize size = screenImageSize(m, ratio, screenDpiX, screenDpiY);
    if (size.isEmpty()) return {};
    // 30 MB and more at the larger zooms: in huge pages where the system has them.
    QImage image = allocateLargeImage(size, QImage::Format_RGB32);
    if (image.isNull()) return {};
    image.fill(Qt::white);
    QPainter p(&image);
    paintScreenImage(p, page, m, leftMm, topMm, size);
    p.end();
    return image;
}

void paintScreenImage(QPainter& p, const RecordedPage& page, const PrinterPageMetrics& m, int leftMm, int topMm,
                      QSize size) {
    const int L = mmToPixels(leftMm, m.PixelsPerInchX);
    const int T = mmToPixels(topMm, m.PixelsPerInchY);
    const int PW = m.PaperWidth;
    const int PH = m.PaperHeight;

    p.save();
    // All geometry is given in printer pixels; the painter scales it down to
    // the screen. Outlines are cosmetic: one screen pixel at any zoom.
    p.scale(double(size.width()) / (PW + 150), double(size.height()) / (PH + 150));
    const QColor grey(128, 128, 128);
    QPen solid(Qt::black, 0, Qt::SolidLine);
    QPen dotted(Qt::black, 0, Qt::DotLine);

    // 1. Shadow and 2. sheet.
    p.fillRect(QRect(QPoint(100, 100), QPoint(PW + 100 - 1, PH + 100 - 1)), grey);
    p.setPen(solid);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(50, 50, PW, PH));
    // 3. The page at the printable area's place.
    p.save();
    p.translate(m.OffsetX + 50, m.OffsetY + 50);
    page.replay(p);
    p.restore();
    p.setBrush(Qt::NoBrush);
    // 4. Printable area.
    p.setPen(QPen(QColor(192, 192, 192), 0, Qt::SolidLine));
    p.drawRect(QRectF(m.OffsetX + 50, m.OffsetY + 50, m.PrintableWidth, m.PrintableHeight));
    // 5. Content area.
    p.setPen(dotted);
    p.drawRect(QRectF(QPointF(L + 50, T + 50), QPointF(PW + 50 - L, PH + 50 - m.BottomUnprintable)));
    // 6. Margin guides.
    p.drawLine(QPointF(L + 50, 50), QPointF(L + 50, T + 50));
    p.drawLine(QPointF(L + 50, T + 50), QPointF(50, T + 50));
    // 7. Corner mark.
    p.setPen(solid);
    p.drawLine(QPointF(L + 50, T + 50), QPointF(L + 35, T + 35));
    p.drawLine(QPointF(L + 50, T + 50), QPointF(L + 65, T + 35));
    p.drawLine(QPointF(L + 50, T + 50), QPointF(L + 35, T + 65));
    // 8. Margin values at 6 mm, cell top-left given.
    const QFont font = fontWithCellHeight(QApplication::font().family(), mmToPixels(6, m.PixelsPerInchY));
    p.setFont(font);
    p.setPen(grey);
    const QFontMetrics fm(font);
    const QString leftText = QString::number(leftMm);
    const QString topText = QString::number(topMm);
    p.drawText(QPointF((L + 50) / 2, T + 50 + fm.ascent()), leftText);
    p.drawText(QPointF(L + 50 - fm.horizontalAdvance(topText), (T + 50) / 2 + fm.ascent()), topText);
    p.restore();
}

void PreviewSheet::setPage(std::shared_ptr<const RecordedPage> page, const PrinterPageMetrics& m, int leftMm,
                           int topMm, QSize size) {
    m_page = std::move(page);
    m_metrics = m;
    m_leftMm = leftMm;
    m_topMm = topMm;
    resize(size);
    update();
}

QImage PreviewSheet::renderPart(const QRect& r) const {
    QImage part(r.size(), QImage::Format_RGB32);
    if (part.isNull()) return part;
    part.fill(Qt::white);
    if (!m_page || size().isEmpty()) return part;
    QPainter p(&part);
    p.translate(-r.topLeft());
    paintScreenImage(p, *m_page, m_metrics, m_leftMm, m_topMm, size());
    return part;
}

void PreviewSheet::paintEvent(QPaintEvent* event) {
    // Drawn into an image of the exposed part first: the page's picture is
    // drawn much faster onto an image than onto the window, and the part is
    // never larger than the viewport.
    const QRect r = event->rect() & rect();
    if (r.isEmpty()) return;
    const QImage part = renderPart(r);
    QPainter p(this);
    if (part.isNull()) {
        p.fillRect(r, Qt::white);
        return;
    }
    p.drawImage(r.topLeft(), part);
}

void NumberBox::stepBy(int steps) {
    const int before = value();
    QSpinBox::stepBy(steps);
    if (value() != before || steps != 0) emit stepped();
}

// ---- TF_PREV ----

TF_PREV::TF_PREV(const AppPaths& paths, const PageInputs& base, QWidget* owner)
    : QDialog(owner), m_paths(paths), m_base(base) {
    setObjectName(QStringLiteral("F_PREV"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    QFont f(QStringLiteral("ＭＳ ゴシック"));
    f.setPixelSize(16);
    f.setBold(true);
    setFont(f);
    resize(987, 653);
    FPageNumber = 1;
    buildControls();
}

TF_PREV::~TF_PREV() = default;

void TF_PREV::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setFixedHeight(24 + 8);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(ToolBar1);

    auto toolButton = [this](const char* name, const QString& text, const QString& hint) {
        auto* b = new QToolButton(ToolBar1);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setToolTip(hint);
        b->setMinimumWidth(52);
        ToolBar1->addWidget(b);
        return b;
    };
    SPD_PRT = toolButton("SPD_PRT", QString(), QStringLiteral("印刷"));
    SPD_PRT->setIcon(printerGlyph());
    SPD_PRT->setToolButtonStyle(Qt::ToolButtonIconOnly);
    SPD_SAVE = toolButton("SPD_SAVE", QString(), QStringLiteral("画像として保存"));
    SPD_SAVE->setIcon(diskGlyph());
    SPD_SAVE->setToolButtonStyle(Qt::ToolButtonIconOnly);
    TOOL_PRNSET = toolButton("TOOL_PRNSET", QStringLiteral("設定"), QStringLiteral("プリンタの設定"));

    UD_HIRITU = numberBox(ToolBar1, "UD_HIRITU", 50, 100, QStringLiteral("画像の比率 50-100%"));
    ToolBar1->addWidget(UD_HIRITU);
    UD_LEFT = numberBox(ToolBar1, "UD_LEFT", 4, 30, QStringLiteral("枠に対する左余白(mm)"));
    ToolBar1->addWidget(UD_LEFT);
    UD_TOP = numberBox(ToolBar1, "UD_TOP", 4, 35, QStringLiteral("枠に対する上余白(mm)"));
    ToolBar1->addWidget(UD_TOP);
    ToolBar1->addSeparator();
    CBO_FONT = new QComboBox(ToolBar1);
    CBO_FONT->setObjectName(QStringLiteral("CBO_FONT"));
    CBO_FONT->setToolTip(QStringLiteral("文字の種類"));
    CBO_FONT->setMinimumWidth(160);
    ToolBar1->addWidget(CBO_FONT);
    UD_FONT_SIZE = numberBox(ToolBar1, "UD_FONT_SIZE", 1, 999, QStringLiteral("文字サイズ"));
    ToolBar1->addWidget(UD_FONT_SIZE);
    ToolBar1->addSeparator();
    UD_MOJIKAN = numberBox(ToolBar1, "UD_MOJIKAN", 0, 999, QStringLiteral("文字間"));
    ToolBar1->addWidget(UD_MOJIKAN);
    ToolBar1->addSeparator();
    UD_GYOKAN = numberBox(ToolBar1, "UD_GYOKAN", 0, 999, QStringLiteral("行間"));
    ToolBar1->addWidget(UD_GYOKAN);
    ToolBar1->addSeparator();

    auto* modes = new QActionGroup(this);
    TOOL_SC = ToolBar1->addAction(QStringLiteral("ｽｸﾛｰﾙ"));
    TOOL_SC->setObjectName(QStringLiteral("TOOL_SC"));
    TOOL_SC->setCheckable(true);
    TOOL_SC->setChecked(true);
    TOOL_ZOOM = ToolBar1->addAction(QStringLiteral("ｽﾞｰﾑ"));
    TOOL_ZOOM->setObjectName(QStringLiteral("TOOL_ZOOM"));
    TOOL_ZOOM->setCheckable(true);
    modes->addAction(TOOL_SC);
    modes->addAction(TOOL_ZOOM);
    ToolBar1->addSeparator();

    TrackBar1 = new QSlider(Qt::Horizontal, ToolBar1);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setRange(50, 300);
    TrackBar1->setPageStep(10);
    TrackBar1->setTickPosition(QSlider::NoTicks);
    TrackBar1->setToolTip(QStringLiteral("ズーム率　50-300%"));
    TrackBar1->setMinimumWidth(150);
    TrackBar1->setEnabled(false);
    ToolBar1->addWidget(TrackBar1);
    LBL_HIRITU = new QToolButton(ToolBar1);
    LBL_HIRITU->setObjectName(QStringLiteral("LBL_HIRITU"));
    LBL_HIRITU->setAutoRaise(true);
    LBL_HIRITU->setFocusPolicy(Qt::NoFocus);
    LBL_HIRITU->setMinimumWidth(80);
    ToolBar1->addWidget(LBL_HIRITU);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    Image1 = new PreviewSheet;
    Image1->setObjectName(QStringLiteral("Image1"));
    ScrollBox1->setWidget(Image1);
    layout->addWidget(ScrollBox1, 1);
    ScrollBox1->viewport()->installEventFilter(this);
    ScrollBox1->installEventFilter(this);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto* popModes = new QActionGroup(this);
    POP_SC = PopupMenu1->addAction(QStringLiteral("スクロール"));
    POP_SC->setObjectName(QStringLiteral("POP_SC"));
    POP_SC->setCheckable(true);
    POP_SC->setChecked(true);
    POP_ZOOM = PopupMenu1->addAction(QStringLiteral("ズーム"));
    POP_ZOOM->setObjectName(QStringLiteral("POP_ZOOM"));
    POP_ZOOM->setCheckable(true);
    popModes->addAction(POP_SC);
    popModes->addAction(POP_ZOOM);
    POP_CLOSE = PopupMenu1->addAction(QStringLiteral("閉じる"));
    POP_CLOSE->setObjectName(QStringLiteral("POP_CLOSE"));
    connect(ScrollBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(ScrollBox1->mapToGlobal(pos)); });

    auto guarded = [this](void (TF_PREV::*handler)()) {
        return [this, handler] { runCommand([&] { (this->*handler)(); }); };
    };
    connect(SPD_PRT, &QToolButton::clicked, this, guarded(&TF_PREV::SPD_PRTClick));
    connect(SPD_SAVE, &QToolButton::clicked, this, guarded(&TF_PREV::SPD_SAVEClick));
    connect(TOOL_PRNSET, &QToolButton::clicked, this, guarded(&TF_PREV::TOOL_PRNSETClick));
    for (NumberBox* box : {UD_HIRITU, UD_LEFT, UD_TOP, UD_FONT_SIZE, UD_MOJIKAN, UD_GYOKAN}) {
        connect(box, &NumberBox::stepped, this, guarded(&TF_PREV::UD_Click));
    }
    connect(CBO_FONT, &QComboBox::activated, this, guarded(&TF_PREV::UD_Click));
    connect(TrackBar1, &QSlider::valueChanged, this, guarded(&TF_PREV::TrackBar1Change));
    connect(TOOL_SC, &QAction::triggered, this, guarded(&TF_PREV::TOOL_SCClick));
    connect(POP_SC, &QAction::triggered, this, guarded(&TF_PREV::TOOL_SCClick));
    connect(TOOL_ZOOM, &QAction::triggered, this, guarded(&TF_PREV::TOOL_ZOOMClick));
    connect(POP_ZOOM, &QAction::triggered, this, guarded(&TF_PREV::TOOL_ZOOMClick));
    connect(POP_CLOSE, &QAction::triggered, this, guarded(&TF_PREV::POP_CLOSEClick));
}

void TF_PREV::openPreview(QWidget* owner, const AppPaths& paths, const PageInputs& base) {
    TF_PREV window(paths, base, owner);
    window.prepare();
    window.TOOL_SCClick();
    window.exec();
}

void TF_PREV::prepare() {
    // 2. A4 portrait where the printer allows; kept for the rest of the run.
    setPrinterPaperA4();
    setPrinterOrientation(QPageLayout::Portrait);
    // 3. The font list.
    CBO_FONT->clear();
    CBO_FONT->addItems(printerFontFamilies());
    if (CBO_FONT->count() == 0) throw CommandError(QStringLiteral("プリンタのフォントがありません"));
    // 4. The stored settings. A settings file that exists but cannot be read
    // stops here: writing the defaults back at close would replace it.
    Expected<IniFile> ini = IniFile::load(m_paths.iniFile());
    if (!ini.ok()) throw CommandError(ini.error());
    const PreviewSettings s = readPreviewSettings(ini.value());
    UD_FONT_SIZE->setValue(s.fontSize);
    UD_LEFT->setValue(s.left);
    UD_TOP->setValue(s.top);
    UD_GYOKAN->setValue(s.gyokan);
    UD_HIRITU->setValue(s.hiritu);
    UD_MOJIKAN->setValue(s.mojikan);
    CBO_FONT->setCurrentIndex(s.fontIndex >= 0 && s.fontIndex < CBO_FONT->count() ? s.fontIndex : 0);
    applyBounds(s);
    FRatio = s.zoom;
    // 5.
    MakePreview();
    Display();
    // 6.
    LBL_HIRITU->setText(zoomLabelText(FRatio));
    {
        const QSignalBlocker block(TrackBar1);
        TrackBar1->setValue(qBound(50, int(FRatio * 100), 300));
    }
    m_settingsLoaded = true;
}

void TF_PREV::applyBounds(const PreviewSettings& s) {
    move(s.modalL, s.modalT);
    resize(qMax(100, s.modalW), qMax(100, s.modalH));
}

PreviewSettings TF_PREV::settingsFromControls() const {
    PreviewSettings s;
    for (NumberBox* box : {UD_HIRITU, UD_LEFT, UD_TOP, UD_FONT_SIZE, UD_MOJIKAN, UD_GYOKAN}) box->interpretText();
    s.fontIndex = CBO_FONT->currentIndex();
    s.fontSize = UD_FONT_SIZE->value();
    s.left = UD_LEFT->value();
    s.top = UD_TOP->value();
    s.gyokan = UD_GYOKAN->value();
    s.hiritu = UD_HIRITU->value();
    s.mojikan = UD_MOJIKAN->value();
    s.modalL = pos().x();
    s.modalT = pos().y();
    s.modalW = width();
    s.modalH = height();
    s.zoom = FRatio;
    return s;
}

void TF_PREV::writeSettings() {
    const PreviewSettings s = settingsFromControls();
    throwIfFailed(changeIniFile(m_paths.iniFile(), [&](IniFile& ini) { writePreviewSettings(ini, s); }));
}

void TF_PREV::done(int result) {
    // Every close (close box, Esc, POP_CLOSE) writes the settings back once.
    if (m_settingsLoaded && !m_written) {
        m_written = true;
        runCommand([this] { writeSettings(); });
    }
    QDialog::done(result);
}

PageInputs TF_PREV::pageInputs() const {
    PageInputs in = m_base;
    for (NumberBox* box : {UD_HIRITU, UD_LEFT, UD_TOP, UD_FONT_SIZE, UD_MOJIKAN, UD_GYOKAN}) box->interpretText();
    in.leftMargin = UD_LEFT->value();
    in.topMargin = UD_TOP->value();
    in.pictureRatio = UD_HIRITU->value();
    in.fontFamily = CBO_FONT->currentText();
    in.fontSize = UD_FONT_SIZE->value();
    in.columnPitch = UD_MOJIKAN->value();
    in.lineSpacing = UD_GYOKAN->value();
    return in;
}

void TF_PREV::MakePreview() {
    const PrinterPageMetrics metrics = currentPrinterPageMetrics();
    recordPage(PrintPreview1, pageInputs(), metrics);
    m_metrics = metrics;
}

std::shared_ptr<const RecordedPage> TF_PREV::currentPage() const {
    if (PrintPreview1.Printing() || PrintPreview1.PageCount() < FPageNumber) return nullptr;
    return PrintPreview1.GetPage(FPageNumber - 1);
}

void TF_PREV::Display() {
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    const std::shared_ptr<const RecordedPage> page = currentPage();
    if (!page) return;
    // Only the size changes here; the sheet draws what shows when it paints.
    Image1->setPage(page, m_metrics, UD_LEFT->value(), UD_TOP->value(),
                    screenImageSize(m_metrics, FRatio, logicalDpiX(), logicalDpiY()));
}

void TF_PREV::rebuildAndDisplay() {
    MakePreview();
    Display();
}

void TF_PREV::UD_Click() { rebuildAndDisplay(); }

void TF_PREV::TrackBar1Change() {
    FRatio = TrackBar1->value() / 100.0;
    LBL_HIRITU->setText(zoomLabelText(FRatio));
    Display();
}

bool TF_PREV::scrollMode() const { return POP_SC->isChecked(); }

void TF_PREV::FormMouseWheel(int delta) {
    if (!scrollMode()) return;
    QScrollBar* bar = ScrollBox1->verticalScrollBar();
    bar->setValue(bar->value() - delta / 2);
    LBL_HIRITU->setText(QString::number(TrackBar1->value()) + QStringLiteral("%"));
}

bool TF_PREV::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel && (watched == ScrollBox1->viewport() || watched == ScrollBox1)) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        FormMouseWheel(wheel->angleDelta().y());
        return true;  // the scroll box never scrolls by itself (not at all in zoom mode)
    }
    return QDialog::eventFilter(watched, event);
}

void TF_PREV::wheelEvent(QWheelEvent* event) {
    FormMouseWheel(event->angleDelta().y());
    event->accept();
}

void TF_PREV::TOOL_SCClick() {
    TrackBar1->setEnabled(false);
    POP_SC->setChecked(true);
    TOOL_SC->setChecked(true);
}

void TF_PREV::TOOL_ZOOMClick() {
    TrackBar1->setEnabled(true);
    POP_ZOOM->setChecked(true);
    TOOL_ZOOM->setChecked(true);
    TrackBar1->setFocus();
}

void TF_PREV::POP_CLOSEClick() { close(); }

void TF_PREV::TOOL_PRNSETClick() {
    QPageSetupDialog dialog(&currentPrinter(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    rebuildAndDisplay();
}

void TF_PREV::SPD_PRTClick() {
    if (dialogs().confirm(QStringLiteral("用紙をセットして下さい。印刷を実行しますか？"), false) != Answer::Yes) return;
    QPrinter& printer = currentPrinter();
    // The PDF printer stands in for a missing system printer: it needs a file.
    const QString previousFile = printer.outputFileName();
    if (isPdfPrinter()) {
        const std::optional<QString> file =
            dialogs().saveFile(QString(), QStringLiteral("PDF (*.pdf)|*.pdf"), QStringLiteral("pdf"),
                               QStringLiteral("カレンダー印刷"));
        if (!file) return;
        printer.setOutputFileName(*file);
    }
    printer.setDocName(QStringLiteral("カレンダー印刷"));
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (isPdfPrinter()) printer.setOutputFileName(previousFile);
        throw CommandError(QStringLiteral("印刷を開始できません"));
    }
    try {
        for (int i = 0; i < PrintPreview1.PageCount(); ++i) {
            if (i > 0 && !printer.newPage()) throw CommandError(QStringLiteral("次の用紙に進めません"));
            PrintPreview1.GetPage(i)->replay(painter);
        }
    } catch (...) {
        printer.abort();
        painter.end();
        if (isPdfPrinter()) printer.setOutputFileName(previousFile);
        throw;
    }
    const bool ended = painter.end();
    if (isPdfPrinter()) printer.setOutputFileName(previousFile);
    if (!ended) throw CommandError(QStringLiteral("印刷を終了できません"));
}

void TF_PREV::SPD_SAVEClick() {
    const std::shared_ptr<const RecordedPage> page = currentPage();
    if (!page) throw CommandError(QStringLiteral("保存するページがありません"));
    savePageAsImage(this, m_paths, *page);
}

}  // namespace mekuri
