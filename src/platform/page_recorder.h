#pragma once

// The recorded page: a small display list in printable-area printer pixels,
// made once per page build and replayed for the screen (scaled), the printer
// (1:1) and image export (stretched). It keeps what was drawn, not pixels, so
// zooming never rebuilds the page and tests can inspect which texts were
// drawn where, in which colour and height.
//
// Fonts are given as cell heights (ascent + descent) in printer pixels and
// resolved to pixel-sized fonts, never point sizes, so text metrics are the
// same while recording and on any device the page is replayed onto.
//
// PageRecorder mirrors the preview component the program was designed with:
// BeginDoc opens page 1, GetCanvas draws on the current page, NewPage adds a
// page, EndDoc ends the recording; then PageCount and GetPage. Misuse throws
// CommandError with the component's own texts.

#include "platform/printer.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>
#include <variant>
#include <vector>

class QPainter;

namespace mekuri {

// The font state of a page canvas.
struct PageFont {
    QString family;
    int cellHeight = 16;  // ascent + descent, printer pixels
    bool bold = false;
    QColor color = Qt::black;
};

// The pixel-sized font with the given cell height for family, as the page
// canvas uses it for drawing and measuring (cached).
QFont pageQFont(const QString& family, int cellHeight, bool bold);
// Advance width and cell height of text in that font.
int pageTextWidth(const QString& family, int cellHeight, bool bold, const QString& text);
int pageTextHeight(const QString& family, int cellHeight, bool bold);

// Rectangle with corners (x1, y1) and (x2, y2), right and bottom edges
// exclusive: outlined with pen (inside the rectangle), filled with brush.
struct PageRectOp {
    QRect rect;
    QPen pen;
    QBrush brush;
};

// A line from `from` to `to` (the end point not drawn) in pen.
struct PageLineOp {
    QPoint from;
    QPoint to;
    QPen pen;
};

// The whole image stretched into target; the image is shared, not copied.
struct PageImageOp {
    QRect target;
    QImage image;
};

// Text with the top-left corner of its cell at topLeft, transparent
// background.
struct PageTextOp {
    QPoint topLeft;
    QString text;
    PageFont font;
    int width = 0;   // advance width in that font
    int ascent = 0;  // baseline below topLeft
};

using PageOp = std::variant<PageRectOp, PageLineOp, PageImageOp, PageTextOp>;

// One recorded page. Copying is cheap (images are shared).
class RecordedPage {
public:
    RecordedPage() = default;
    explicit RecordedPage(QSize size, int dpiX = 0, int dpiY = 0);

    // Page size: the printable area in printer pixels.
    QSize size() const { return m_size; }
    int width() const { return m_size.width(); }
    int height() const { return m_size.height(); }
    int dpiX() const { return m_dpiX; }
    int dpiY() const { return m_dpiY; }

    const std::vector<PageOp>& ops() const { return m_ops; }
    template <typename Op>
    void append(Op op) { m_ops.emplace_back(std::in_place_type<Op>, std::move(op)); }

    // The ops of one kind, in drawing order.
    std::vector<PageTextOp> texts() const;
    std::vector<PageRectOp> rects() const;
    std::vector<PageImageOp> images() const;
    std::vector<PageLineOp> lines() const;

    // Replays the page 1:1 onto painter in its current coordinates: page
    // pixel (0, 0) lands at the painter's origin. The painter's clip is
    // switched off meanwhile and its state restored afterwards. A text
    // overprinted later at the same place in the same font shows only in
    // the later colour.
    void replay(QPainter& painter) const;
    // Replays the page stretched onto target (in the painter's coordinates).
    void replay(QPainter& painter, const QRectF& target) const;

    // The page stretched onto a new white image of imageSize; a null image
    // when it cannot be allocated.
    QImage render(QSize imageSize, QImage::Format format = QImage::Format_RGB888) const;

private:
    QSize m_size;
    int m_dpiX = 0;
    int m_dpiY = 0;
    std::vector<PageOp> m_ops;
};

// The canvas of the page being recorded. The initial state is that of a
// fresh printer canvas: a black 1-pixel solid pen, a white solid brush, a
// black regular font.
class PageCanvas {
public:
    explicit PageCanvas(RecordedPage& page);

    void setPen(const QPen& pen) { m_pen = pen; }
    QPen pen() const { return m_pen; }
    void setBrush(const QBrush& brush) { m_brush = brush; }
    QBrush brush() const { return m_brush; }

    void setFont(const PageFont& font) { m_font = font; }
    const PageFont& font() const { return m_font; }
    void setFontFamily(const QString& family) { m_font.family = family; }
    void setFontHeight(int cellHeight) { m_font.cellHeight = cellHeight; }
    void setFontBold(bool bold) { m_font.bold = bold; }
    void setFontColor(const QColor& color) { m_font.color = color; }

    // Drawing, in page pixels (see the ops above).
    void rectangle(int x1, int y1, int x2, int y2);
    void line(QPoint from, QPoint to);
    void stretchDraw(const QRect& target, const QImage& image);
    void textOut(int x, int y, const QString& text);

    // Metrics of the current font.
    int textWidth(const QString& text) const;
    int textHeight(const QString& text) const;

private:
    RecordedPage* m_page;
    QPen m_pen;
    QBrush m_brush;
    PageFont m_font;
};

class PageRecorder {
public:
    PageRecorder() = default;
    PageRecorder(const PageRecorder&) = delete;
    PageRecorder& operator=(const PageRecorder&) = delete;

    // Drops every page and opens page 1 with the printable area of metrics
    // (of the current printer when none are given). Throws "TPrintPreview:
    // BeginDoc: Already Printing" while a recording is open.
    void BeginDoc();
    void BeginDoc(const PrinterPageMetrics& metrics);
    // The canvas of the current page; only while recording.
    PageCanvas& GetCanvas();
    // Ends the current page and opens the next; only while recording.
    void NewPage();
    // Ends the recording; only while recording.
    void EndDoc();

    bool Printing() const { return m_printing; }
    int PageCount() const { return int(m_pages.size()); }
    // Page index (0-based), not while recording.
    std::shared_ptr<const RecordedPage> GetPage(int index) const;

private:
    void openPage();

    bool m_printing = false;
    QSize m_pageSize;
    int m_dpiX = 0;
    int m_dpiY = 0;
    std::vector<std::shared_ptr<RecordedPage>> m_pages;
    std::unique_ptr<PageCanvas> m_canvas;
};

}  // namespace mekuri
