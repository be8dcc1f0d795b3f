#include "platform/page_recorder.h"

#include "platform/command_guard.h"
#include "platform/fonts.h"
#include "platform/large_buffer.h"

#include <QFontMetrics>
#include <QHash>
#include <QPaintEngine>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace mekuri {

namespace {

template <typename Op>
std::vector<Op> opsOfKind(const std::vector<PageOp>& ops) {
    std::vector<Op> out;
    for (const PageOp& op : ops) {
        if (const Op* o = std::get_if<Op>(&op)) out.push_back(*o);
    }
    return out;
}

// A 1-pixel pen stays one device pixel wide when the page is shrunk for the
// screen, as a printer line does on a scaled-down metafile.
QPen devicePen(const QPen& pen) {
    QPen p = pen;
    if (p.width() <= 1) p.setCosmetic(true);
    return p;
}

void drawOp(QPainter& painter, const PageRectOp& op) {
    const QRect& r = op.rect;
    if (r.width() <= 0 || r.height() <= 0) return;
    if (op.brush.style() != Qt::NoBrush) painter.fillRect(QRectF(r), op.brush);
    if (op.pen.style() != Qt::NoPen) {
        const double w = std::max(1, op.pen.width());
        painter.setPen(devicePen(op.pen));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(r.x() + w / 2, r.y() + w / 2, r.width() - w, r.height() - w));
    }
}

void drawOp(QPainter& painter, const PageLineOp& op) {
    if (op.pen.style() == Qt::NoPen) return;
    painter.setPen(devicePen(op.pen));
    painter.drawLine(QPointF(op.from) + QPointF(0.5, 0.5), QPointF(op.to) + QPointF(0.5, 0.5));
}

// Qt's smooth scaling reads a 32-bit picture several times faster than the
// 24-bit page picture, but converting the whole picture would add a third
// to its memory. Onto an image, the picture is therefore converted and drawn
// a band of about 64 source rows at a time (a few MB); each band's source
// rows carry a row either side, so the filter sees the same neighbours as
// in one piece.
bool drawPictureInBands(QPainter& painter, const QRectF& target, const QImage& image) {
    constexpr int kMinRows = 256;
    constexpr int kSourceRows = 64;  // source rows a band covers, about
    const QPaintDevice* device = painter.device();
    const QTransform t = painter.worldTransform();
    if (!device || device->devType() != QInternal::Image || !painter.paintEngine() ||
        painter.paintEngine()->type() != QPaintEngine::Raster || t.type() > QTransform::TxScale ||
        !painter.testRenderHint(QPainter::SmoothPixmapTransform) || image.height() < kMinRows ||
        image.format() != QImage::Format_RGB888) {
        return false;
    }
    const QRectF onDevice = t.mapRect(target);
    const QRect rows = onDevice.toAlignedRect() & QRect(0, 0, device->width(), device->height());
    if (rows.isEmpty()) return true;
    const double scaleY = onDevice.height() / image.height();
    const int bandRows = std::max(1, int(kSourceRows * scaleY));  // device rows
    painter.save();
    painter.resetTransform();
    for (int d0 = rows.top(); d0 <= rows.bottom(); d0 += bandRows) {
        const int d1 = std::min(d0 + bandRows, rows.bottom() + 1);  // exclusive
        // Source rows under the band's first and last pixel centres.
        const int s0 = std::clamp(int(std::floor((d0 + 0.5 - onDevice.top()) / scaleY - 0.5)) - 1, 0, image.height());
        const int s1 = std::clamp(int(std::floor((d1 - 0.5 - onDevice.top()) / scaleY - 0.5)) + 3, s0, image.height());
        if (s1 <= s0) continue;
        const QImage source(image.constScanLine(s0), image.width(), s1 - s0, image.bytesPerLine(), image.format());
        painter.setClipRect(QRect(rows.left(), d0, rows.width(), d1 - d0));
        painter.drawImage(QRectF(onDevice.left(), onDevice.top() + s0 * scaleY, onDevice.width(), (s1 - s0) * scaleY),
                          source.convertToFormat(QImage::Format_RGB32));
    }
    painter.restore();
    return true;
}

void drawOp(QPainter& painter, const PageImageOp& op) {
    if (op.image.isNull() || op.target.width() <= 0 || op.target.height() <= 0) return;
    if (drawPictureInBands(painter, QRectF(op.target), op.image)) return;
    painter.drawImage(QRectF(op.target), op.image);
}

void drawOp(QPainter& painter, const PageTextOp& op) {
    if (op.text.isEmpty()) return;
    painter.setFont(pageQFont(op.font.family, op.font.cellHeight, op.font.bold));
    painter.setPen(op.font.color);
    painter.drawText(QPointF(op.topLeft.x(), op.topLeft.y() + op.ascent), op.text);
}

}  // namespace

QFont pageQFont(const QString& family, int cellHeight, bool bold) {
    // Only the chosen pixel size is cached: QFont objects must not outlive
    // the application's font database at exit.
    static QHash<QString, int> pixelSizes;
    auto makeFont = [&](int pixelSize) {
        QFont font(family);
        font.setPixelSize(std::max(1, pixelSize));
        font.setBold(bold);
        // Printed glyphs must keep the widths measured here, at every scale.
        font.setHintingPreference(QFont::PreferNoHinting);
        font.setKerning(false);
        return font;
    };
    const QString key = family + u'\x1f' + QString::number(cellHeight) + (bold ? u'b' : u'r');
    auto it = pixelSizes.constFind(key);
    if (it != pixelSizes.constEnd()) return makeFont(*it);

    // Metrics round per size, so the cell grows in uneven steps: look around
    // the scaled estimate for the size whose cell comes closest (the smaller
    // size on a tie, so text never grows past the height asked for).
    const int estimate = fontWithCellHeight(family, cellHeight).pixelSize();
    int best = std::max(1, estimate);
    int bestDiff = INT_MAX;
    for (int px = std::max(1, estimate - 3); px <= estimate + 3; ++px) {
        const QFontMetrics m(makeFont(px));
        const int diff = std::abs(m.ascent() + m.descent() - cellHeight);
        if (diff < bestDiff) {
            best = px;
            bestDiff = diff;
        }
    }
    pixelSizes.insert(key, best);
    return makeFont(best);
}

int pageTextWidth(const QString& family, int cellHeight, bool bold, const QString& text) {
    return QFontMetrics(pageQFont(family, cellHeight, bold)).horizontalAdvance(text);
}

int pageTextHeight(const QString& family, int cellHeight, bool bold) {
    const QFontMetrics m(pageQFont(family, cellHeight, bold));
    return m.ascent() + m.descent();
}

// --- RecordedPage ---

RecordedPage::RecordedPage(QSize size, int dpiX, int dpiY) : m_size(size), m_dpiX(dpiX), m_dpiY(dpiY) {}

std::vector<PageTextOp> RecordedPage::texts() const { return opsOfKind<PageTextOp>(m_ops); }
std::vector<PageRectOp> RecordedPage::rects() const { return opsOfKind<PageRectOp>(m_ops); }
std::vector<PageImageOp> RecordedPage::images() const { return opsOfKind<PageImageOp>(m_ops); }
std::vector<PageLineOp> RecordedPage::lines() const { return opsOfKind<PageLineOp>(m_ops); }

void RecordedPage::replay(QPainter& painter) const {
    painter.save();
    painter.setClipping(false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setBackgroundMode(Qt::TransparentMode);
    // A text drawn again later at the same place in the same font (an
    // overprint in another colour) is left out: with antialiased glyphs the
    // first colour would otherwise show as a dark fringe around the second.
    std::vector<bool> covered(m_ops.size(), false);
    QHash<QString, size_t> lastAt;
    for (size_t i = 0; i < m_ops.size(); ++i) {
        const PageTextOp* t = std::get_if<PageTextOp>(&m_ops[i]);
        if (!t) continue;
        const QString key = QStringLiteral("%1,%2,%3,%4,%5,%6")
                                .arg(t->topLeft.x())
                                .arg(t->topLeft.y())
                                .arg(t->font.cellHeight)
                                .arg(t->font.bold)
                                .arg(t->font.family, t->text);
        auto it = lastAt.find(key);
        if (it != lastAt.end()) covered[*it] = true;
        lastAt.insert(key, i);
    }
    for (size_t i = 0; i < m_ops.size(); ++i) {
        if (covered[i]) continue;
        std::visit([&painter](const auto& o) { drawOp(painter, o); }, m_ops[i]);
    }
    painter.restore();
}

void RecordedPage::replay(QPainter& painter, const QRectF& target) const {
    if (m_size.isEmpty() || target.isEmpty()) return;
    painter.save();
    QTransform t = painter.transform();
    t.translate(target.x(), target.y());
    t.scale(target.width() / m_size.width(), target.height() / m_size.height());
    painter.setTransform(t);
    replay(painter);
    painter.restore();
}

QImage RecordedPage::render(QSize imageSize, QImage::Format format) const {
    if (imageSize.isEmpty()) return {};
    // A page at printer resolution is some 100 MB: in huge pages where the
    // system has them.
    QImage image = allocateLargeImage(imageSize, format);
    if (image.isNull()) return {};
    image.fill(Qt::white);
    QPainter painter(&image);
    replay(painter, QRectF(0, 0, imageSize.width(), imageSize.height()));
    painter.end();
    return image;
}

// --- PageCanvas ---

PageCanvas::PageCanvas(RecordedPage& page)
    : m_page(&page), m_pen(QColor(Qt::black), 1, Qt::SolidLine), m_brush(Qt::white, Qt::SolidPattern) {
    m_pen.setJoinStyle(Qt::MiterJoin);
}

void PageCanvas::rectangle(int x1, int y1, int x2, int y2) {
    m_page->append(PageRectOp{QRect(QPoint(x1, y1), QSize(x2 - x1, y2 - y1)), m_pen, m_brush});
}

void PageCanvas::line(QPoint from, QPoint to) { m_page->append(PageLineOp{from, to, m_pen}); }

void PageCanvas::stretchDraw(const QRect& target, const QImage& image) {
    m_page->append(PageImageOp{target, image});
}

void PageCanvas::textOut(int x, int y, const QString& text) {
    const QFontMetrics m(pageQFont(m_font.family, m_font.cellHeight, m_font.bold));
    m_page->append(PageTextOp{QPoint(x, y), text, m_font, m.horizontalAdvance(text), m.ascent()});
}

int PageCanvas::textWidth(const QString& text) const {
    return pageTextWidth(m_font.family, m_font.cellHeight, m_font.bold, text);
}

int PageCanvas::textHeight(const QString&) const {
    return pageTextHeight(m_font.family, m_font.cellHeight, m_font.bold);
}

// --- PageRecorder ---

void PageRecorder::BeginDoc() {
    if (m_printing) throw CommandError(QStringLiteral("TPrintPreview: BeginDoc: Already Printing"));
    BeginDoc(currentPrinterPageMetrics());
}

void PageRecorder::BeginDoc(const PrinterPageMetrics& metrics) {
    if (m_printing) throw CommandError(QStringLiteral("TPrintPreview: BeginDoc: Already Printing"));
    m_pages.clear();
    m_canvas.reset();
    m_pageSize = QSize(metrics.PrintableWidth, metrics.PrintableHeight);
    m_dpiX = metrics.PixelsPerInchX;
    m_dpiY = metrics.PixelsPerInchY;
    m_printing = true;
    openPage();
}

void PageRecorder::openPage() {
    m_pages.push_back(std::make_shared<RecordedPage>(m_pageSize, m_dpiX, m_dpiY));
    m_canvas = std::make_unique<PageCanvas>(*m_pages.back());
}

PageCanvas& PageRecorder::GetCanvas() {
    if (!m_printing || !m_canvas) throw CommandError(QStringLiteral("TPrintPreview.GetCanvas: not Printing"));
    return *m_canvas;
}

void PageRecorder::NewPage() {
    if (!m_printing) throw CommandError(QStringLiteral("TPrintPreview.NewPage: not Printing"));
    openPage();
}

void PageRecorder::EndDoc() {
    if (!m_printing) throw CommandError(QStringLiteral("TPrintPreview.EndDoc: not Printing"));
    m_canvas.reset();
    m_printing = false;
}

std::shared_ptr<const RecordedPage> PageRecorder::GetPage(int index) const {
    if (m_printing) {
        throw CommandError(QStringLiteral("TPrinterPreview.GetPage: Pages cannot be used when printing"));
    }
    if (index < 0 || index >= PageCount()) {
        throw CommandError(QStringLiteral("TPrinterCanvas.GetPage: Index is out of Range"));
    }
    return m_pages[size_t(index)];
}

}  // namespace mekuri
