#include "platform/month_calendar.h"

#include "platform/system_colors.h"

#include <QAction>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <map>

namespace mekuri {

namespace {

constexpr int kBlockGap = 6;    // between month blocks
constexpr int kMaxMonths = 12;
constexpr int kRepeatMs = 350;  // arrow auto-repeat while held
constexpr int kWeeks = 6;

// Months counted from year 0, so that month arithmetic is plain integers.
int monthIndex(const QDate& date) { return date.year() * 12 + date.month() - 1; }
QDate monthStart(int index) { return QDate(index / 12, index % 12 + 1, 1); }

// 0 Monday ... 6 Sunday, the calendar's own numbering.
int weekday0(const QDate& date) { return date.dayOfWeek() - 1; }

// Days of the month before shown in the first row: always 1 to 7.
int leadingDays(const QDate& first, int firstDow) {
    const int lead = (weekday0(first) - firstDow + 7) % 7;  // [0, 6]
    return lead == 0 ? 7 : lead;                            // [1, 7]
}

const QString& weekdayName(int day0) {
    static const QString names[7] = {
        QStringLiteral("月"), QStringLiteral("火"), QStringLiteral("水"), QStringLiteral("木"),
        QStringLiteral("金"), QStringLiteral("土"), QStringLiteral("日"),
    };
    return names[day0];
}

QString titleText(const QDate& month) {
    return QStringLiteral("%1年%2月").arg(month.year()).arg(month.month());
}

}  // namespace

struct MonthCalendar::Impl {
    enum Part { None, Day, Prev, Next, TitleYear, TitleMonth, Inert };
    struct Hit {
        Part part = None;
        int block = -1;
        QDate date;  // for Day: the date of the cell
    };

    MonthCalendar* q;
    QDate selected;
    QDate minDate{1900, 1, 1};
    QDate maxDate{2087, 12, 31};
    int firstDow = 0;
    std::array<QColor, 6> colors;
    bool weekNumbers = true;
    MonthInfoHandler handler;
    int firstMonth = 0;  // month index of block 0

    // Layout, from the font and the size.
    int rowH = 16;
    int cellW = 24;
    int digitsW = 18;  // widest two digits, normal or bold
    int titleH = 24;
    int padX = 6;
    int headerTop = 0;  // block-local y of the weekday header
    int lineY = 0;      // block-local y of the line beneath it
    int daysTop = 0;    // block-local y of the first week row
    int blockW = 0;
    int blockH = 0;
    int cols = 1;
    int rowsN = 1;
    QPoint origin;
    QSize laidOut{-1, -1};  // the size the layout was computed for

    // The months last asked for bold days, and their answers.
    int askedFirst = INT_MIN;
    int askedCount = -1;
    int askedDow = -1;
    std::map<int, quint32> bold;

    // Mouse.
    Part pressed = None;
    QPoint lastPos;
    QTimer* repeat = nullptr;

    // Quick jump from a block's title.
    QMenu* monthMenu = nullptr;
    QSpinBox* yearSpin = nullptr;
    int jumpBlock = 0;

    explicit Impl(MonthCalendar* owner) : q(owner) {}

    int count() const { return cols * rowsN; }
    int wnW() const { return weekNumbers ? cellW : 0; }
    int daysLeft() const { return padX + wnW(); }

    QPoint blockOrigin(int block) const {
        const int c = block % cols;
        const int r = block / cols;
        return origin + QPoint(c * (blockW + kBlockGap), r * (blockH + kBlockGap));
    }
    QRect blockRect(int block) const { return QRect(blockOrigin(block), QSize(blockW, blockH)); }
    QDate blockMonth(int block) const { return monthStart(firstMonth + block); }
    QDate gridStart(int block) const {
        const QDate first = blockMonth(block);
        return first.addDays(-leadingDays(first, firstDow));
    }
    // Numbers stand right-aligned in a two-digit box centred in the cell, so
    // that the units line up down a column.
    QRect numberRect(const QRect& cell) const {
        const int inset = std::max(0, (cell.width() - digitsW) / 2);
        return cell.adjusted(inset, 0, -inset, 0);
    }
    QRect cellRect(int block, int row, int col) const {
        const QPoint o = blockOrigin(block);
        return QRect(o.x() + daysLeft() + col * cellW, o.y() + daysTop + row * rowH, cellW, rowH);
    }
    // Whether the cell's day is drawn: its own month's days everywhere, the
    // neighbouring months' only in the first and last block.
    bool cellShown(int block, const QDate& date) const {
        const int m = monthIndex(date);
        const int own = firstMonth + block;
        if (m == own) return true;
        if (m < own) return block == 0;
        return block == count() - 1;
    }

    void relayout();
    // A hidden widget gets its resize event only when shown: lay out on
    // demand so that code and tests see the layout of the current size.
    void sync() {
        if (q->size() != laidOut) relayout();
    }
    int clampFirst(int first) const;
    void setFirst(int first);
    void askIfChanged(bool force);
    bool select(const QDate& date);  // refuses dates outside the range
    void ensureVisible(const QDate& date);
    // The first month nearest to first that shows date (within the range).
    int showing(int first, const QDate& date) const;
    void scrollBy(int months);
    void jumpTo(int first);
    Hit hitTest(const QPoint& pos) const;
    QRect arrowRect(bool next) const;
    QRect titleTextRect(int block, bool yearPart) const;
    bool cellOf(const QDate& date, int* block, int* row, int* col) const;

    void paintBlock(QPainter& p, int block) const;
    void paintArrow(QPainter& p, const QRect& r, bool next, bool down) const;

    void openMonthMenu(int block);
    void openYearSpin(int block);
    void commitYearSpin();
};

void MonthCalendar::Impl::relayout() {
    const QFontMetrics fm(q->font());
    QFont boldFont = q->font();
    boldFont.setBold(true);
    const QFontMetrics bm(boldFont);
    rowH = std::max(1, fm.height());
    int dayW = 0;
    for (int i = 0; i < 7; ++i) dayW = std::max(dayW, fm.horizontalAdvance(weekdayName(i)));
    // Two digits plus air on both sides; the bold face may be wider.
    digitsW = std::max(fm.horizontalAdvance(QStringLiteral("00")),
                       bm.horizontalAdvance(QStringLiteral("00")));
    cellW = std::max(dayW + 2, digitsW + 6);
    titleH = rowH * 3 / 2;
    padX = std::max(4, cellW / 4);
    headerTop = titleH + std::max(2, rowH / 4);
    lineY = headerTop + rowH;
    daysTop = lineY + 1 + std::max(2, rowH / 8);
    blockW = 2 * padX + wnW() + 7 * cellW;
    blockH = daysTop + kWeeks * rowH + std::max(4, rowH / 2);

    const int w = q->width();
    const int h = q->height();
    laidOut = q->size();
    const int fitCols = std::max(1, (w + kBlockGap) / (blockW + kBlockGap));
    const int fitRows = std::max(1, (h + kBlockGap) / (blockH + kBlockGap));
    // Beyond twelve months, the fullest rectangle of at most twelve that
    // fits, so that the grid stays whole; on a tie the squarer one, then the
    // wider one.
    cols = 1;
    rowsN = 1;
    for (int c = std::min(fitCols, kMaxMonths); c >= 1; --c) {
        const int r = std::min(fitRows, kMaxMonths / c);
        const bool more = c * r > cols * rowsN;
        const bool squarer = c * r == cols * rowsN && std::min(c, r) > std::min(cols, rowsN);
        if (more || squarer) {
            cols = c;
            rowsN = r;
        }
    }

    const int gridW = cols * blockW + (cols - 1) * kBlockGap;
    const int gridH = rowsN * blockH + (rowsN - 1) * kBlockGap;
    origin = QPoint(std::max(0, (w - gridW) / 2), std::max(0, (h - gridH) / 2));

    // Fewer months after a shrink may hide the selection: bring it back.
    firstMonth = showing(clampFirst(firstMonth), selected);
    askIfChanged(false);
    if (yearSpin && yearSpin->isVisible()) yearSpin->hide();
    q->update();
}

int MonthCalendar::Impl::clampFirst(int first) const {
    const int lo = monthIndex(minDate);
    const int hi = monthIndex(maxDate) - count() + 1;
    return std::max(lo, std::min(first, hi));
}

void MonthCalendar::Impl::setFirst(int first) {
    sync();
    firstMonth = clampFirst(first);
    askIfChanged(false);
    q->update();
}

void MonthCalendar::Impl::askIfChanged(bool force) {
    sync();
    if (!force && askedFirst == firstMonth && askedCount == count() && askedDow == firstDow) return;
    askedFirst = firstMonth;
    askedCount = count();
    askedDow = firstDow;
    bold.clear();
    if (!handler) return;
    // The partly shown month before and the one after are always there: the
    // first row holds 1 to 7 earlier days, the last block at least 4 later.
    const int from = monthIndex(gridStart(0));
    const int to = monthIndex(gridStart(count() - 1).addDays(7 * kWeeks - 1));
    for (int m = from; m <= to; ++m) bold[m] = handler(m % 12 + 1);
    q->update();
}

bool MonthCalendar::Impl::select(const QDate& date) {
    if (!date.isValid() || date < minDate || date > maxDate) return false;
    sync();
    const bool changed = date != selected;
    selected = date;
    ensureVisible(date);
    q->update();
    if (changed) Q_EMIT q->selectionChanged();
    return true;
}

int MonthCalendar::Impl::showing(int first, const QDate& date) const {
    if (!date.isValid()) return first;
    const int m = monthIndex(date);
    if (m < first) first = m;
    if (m > first + count() - 1) first = m - count() + 1;
    return clampFirst(first);
}

void MonthCalendar::Impl::ensureVisible(const QDate& date) { setFirst(showing(firstMonth, date)); }

// Moves the view by months (the arrows, the quick jump); the selection
// follows into the first block with its day kept where the month allows.
void MonthCalendar::Impl::scrollBy(int months) {
    sync();
    const int lo = monthIndex(minDate);
    const int hi = monthIndex(maxDate) - count() + 1;
    int target = firstMonth + months;
    // Never bring a month outside the range into view: stop at its edge.
    target = std::max(lo, std::min(target, hi));
    if (target == firstMonth) return;
    jumpTo(target);
}

void MonthCalendar::Impl::jumpTo(int first) {
    setFirst(first);
    const QDate month = blockMonth(0);
    const int day = selected.isValid() ? selected.day() : 1;
    QDate date(month.year(), month.month(), std::min(day, month.daysInMonth()));
    date = std::clamp(date, minDate, maxDate);
    if (date != selected) {
        selected = date;
        Q_EMIT q->selectionChanged();
    }
    q->update();
}

QRect MonthCalendar::Impl::arrowRect(bool next) const {
    const int block = next ? cols - 1 : 0;
    const QPoint o = blockOrigin(block);
    const int side = std::max(8, titleH - 6);
    const int y = o.y() + (titleH - side) / 2;
    const int x = next ? o.x() + blockW - padX - side + 2 : o.x() + padX - 2;
    return QRect(x, y, side, side);
}

QRect MonthCalendar::Impl::titleTextRect(int block, bool yearPart) const {
    QFont boldFont = q->font();
    boldFont.setBold(true);
    const QFontMetrics bm(boldFont);
    const QDate month = blockMonth(block);
    const QString all = titleText(month);
    const QString year = QStringLiteral("%1年").arg(month.year());
    const QRect title(blockOrigin(block), QSize(blockW, titleH));
    const int w = bm.horizontalAdvance(all);
    const int x = title.x() + (title.width() - w) / 2;
    const int yw = bm.horizontalAdvance(year);
    if (yearPart) return QRect(x, title.y(), yw, titleH);
    return QRect(x + yw, title.y(), w - yw, titleH);
}

MonthCalendar::Impl::Hit MonthCalendar::Impl::hitTest(const QPoint& pos) const {
    Hit hit;
    if (arrowRect(false).contains(pos)) {
        hit.part = Prev;
        return hit;
    }
    if (arrowRect(true).contains(pos)) {
        hit.part = Next;
        return hit;
    }
    for (int b = 0; b < count(); ++b) {
        const QRect block = blockRect(b);
        if (!block.contains(pos)) continue;
        hit.block = b;
        hit.part = Inert;
        const QPoint local = pos - block.topLeft();
        if (local.y() < titleH) {
            hit.part = titleTextRect(b, true).contains(pos) ? TitleYear : TitleMonth;
            return hit;
        }
        const int col = (local.x() - daysLeft()) / cellW;
        const int row = (local.y() - daysTop) / rowH;
        if (local.x() < daysLeft() || local.y() < daysTop || col >= 7 || row >= kWeeks) return hit;
        const QDate date = gridStart(b).addDays(row * 7 + col);
        if (!cellShown(b, date)) return hit;
        hit.part = Day;
        hit.date = date;
        return hit;
    }
    return hit;
}

bool MonthCalendar::Impl::cellOf(const QDate& date, int* block, int* row, int* col) const {
    if (!date.isValid()) return false;
    const int m = monthIndex(date);
    int b = m - firstMonth;
    if (b < 0) b = 0;
    if (b >= count()) b = count() - 1;
    const qint64 offset = gridStart(b).daysTo(date);
    if (offset < 0 || offset >= 7 * kWeeks || !cellShown(b, date)) return false;
    *block = b;
    *row = int(offset / 7);
    *col = int(offset % 7);
    return true;
}

void MonthCalendar::Impl::paintArrow(QPainter& p, const QRect& r, bool next, bool down) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    if (down) {
        QColor shade = colors[TitleText];
        shade.setAlpha(70);
        p.setPen(Qt::NoPen);
        p.setBrush(shade);
        p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
    const QPointF c = QRectF(r).center();
    const qreal h = r.height() * 0.3;  // half height of the triangle
    const qreal w = h * 1.15;
    QPainterPath path;
    if (next) {
        path.moveTo(c.x() - w / 2, c.y() - h);
        path.lineTo(c.x() + w / 2 + 0.5, c.y());
        path.lineTo(c.x() - w / 2, c.y() + h);
    } else {
        path.moveTo(c.x() + w / 2, c.y() - h);
        path.lineTo(c.x() - w / 2 - 0.5, c.y());
        path.lineTo(c.x() + w / 2, c.y() + h);
    }
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colors[TitleText]);
    p.drawPath(path);
    p.restore();
}

void MonthCalendar::Impl::paintBlock(QPainter& p, int block) const {
    const QRect br = blockRect(block);
    const QPoint o = br.topLeft();
    const QDate month = blockMonth(block);
    QFont normal = q->font();
    QFont boldFont = normal;
    boldFont.setBold(true);

    p.fillRect(br, colors[MonthBackground]);

    // Title.
    const QRect title(o, QSize(blockW, titleH));
    p.fillRect(title, colors[TitleBackground]);
    p.setFont(boldFont);
    p.setPen(colors[TitleText]);
    p.drawText(title, Qt::AlignCenter, titleText(month));
    if (block == 0) paintArrow(p, arrowRect(false), false, pressed == Prev);
    if (block == cols - 1) paintArrow(p, arrowRect(true), true, pressed == Next);

    // Weekday header and the line beneath.
    p.setFont(normal);
    p.setPen(colors[TitleBackground]);
    const int left = o.x() + daysLeft();
    for (int c = 0; c < 7; ++c) {
        const QRect r(left + c * cellW, o.y() + headerTop, cellW, rowH);
        p.drawText(r, Qt::AlignCenter, weekdayName((firstDow + c) % 7));
    }
    p.fillRect(QRect(left, o.y() + lineY, 7 * cellW, 1), colors[Text]);

    // Week numbers with their separator.
    if (weekNumbers) {
        p.fillRect(QRect(left - 1, o.y() + lineY, 1, daysTop - lineY + kWeeks * rowH),
                   colors[Text]);
        p.setPen(colors[TitleBackground]);
        for (int r = 0; r < kWeeks; ++r) {
            const int wn = q->weekNumberShown(block, r);
            if (wn == 0) continue;
            const QRect cell(o.x() + padX - 2, o.y() + daysTop + r * rowH, cellW, rowH);
            p.drawText(numberRect(cell), Qt::AlignRight | Qt::AlignVCenter, QString::number(wn));
        }
    }

    // Days.
    const QDate start = gridStart(block);
    for (int i = 0; i < 7 * kWeeks; ++i) {
        const QDate date = start.addDays(i);
        if (!cellShown(block, date)) continue;
        const QRect r = cellRect(block, i / 7, i % 7);
        const bool own = monthIndex(date) == firstMonth + block;
        QColor pen = own ? colors[Text] : colors[TrailingText];
        if (own && date == selected) {
            p.fillRect(r, colors[TitleBackground]);
            pen = colors[MonthBackground];
        }
        p.setFont(q->isDayBold(date) ? boldFont : normal);
        p.setPen(pen);
        p.drawText(numberRect(r), Qt::AlignRight | Qt::AlignVCenter, QString::number(date.day()));
    }
}

void MonthCalendar::Impl::openMonthMenu(int block) {
    if (!monthMenu) {
        monthMenu = new QMenu(q);
        monthMenu->setObjectName(QStringLiteral("monthMenu"));
        for (int m = 1; m <= 12; ++m) {
            QAction* a = monthMenu->addAction(QStringLiteral("%1月").arg(m));
            a->setData(m);
        }
        QObject::connect(monthMenu, &QMenu::triggered, q, [this](QAction* a) {
            const QDate month = blockMonth(jumpBlock);
            const int target = month.year() * 12 + a->data().toInt() - 1 - jumpBlock;
            const int clamped = clampFirst(target);
            if (clamped != firstMonth) jumpTo(clamped);
        });
    }
    jumpBlock = block;
    const QDate month = blockMonth(block);
    const int lo = monthIndex(minDate);
    const int hi = monthIndex(maxDate);
    QAction* current = nullptr;
    QFont boldFont = q->font();
    boldFont.setBold(true);
    for (QAction* a : monthMenu->actions()) {
        const int m = a->data().toInt();
        const int idx = month.year() * 12 + m - 1;
        a->setEnabled(idx >= lo && idx <= hi);
        a->setFont(m == month.month() ? boldFont : q->font());
        if (m == month.month()) current = a;
    }
    monthMenu->setFont(q->font());
    monthMenu->setActiveAction(current);
    const QRect text = titleTextRect(block, false);
    monthMenu->popup(q->mapToGlobal(QPoint(text.left(), text.bottom())), current);
}

void MonthCalendar::Impl::openYearSpin(int block) {
    if (!yearSpin) {
        yearSpin = new QSpinBox(q);
        yearSpin->setObjectName(QStringLiteral("yearSpin"));
        yearSpin->setAlignment(Qt::AlignCenter);
        yearSpin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
        yearSpin->setKeyboardTracking(false);
        yearSpin->installEventFilter(q);
        QObject::connect(yearSpin, &QSpinBox::editingFinished, q, [this] { commitYearSpin(); });
        yearSpin->hide();
    }
    jumpBlock = block;
    const QDate month = blockMonth(block);
    yearSpin->setFont(q->font());
    yearSpin->setRange(minDate.year(), maxDate.year());
    yearSpin->setValue(month.year());
    const QRect text = titleTextRect(block, true);
    const QSize hint = yearSpin->sizeHint();
    const int w = std::max(hint.width(), text.width() + 24);
    const int h = std::min(hint.height(), titleH);
    const int x = std::max(blockOrigin(block).x(), text.right() - w + 1);
    yearSpin->setGeometry(x, text.y() + (titleH - h) / 2, w, h);
    yearSpin->show();
    yearSpin->raise();
    yearSpin->setFocus(Qt::PopupFocusReason);
    yearSpin->selectAll();
}

void MonthCalendar::Impl::commitYearSpin() {
    if (!yearSpin || !yearSpin->isVisible()) return;
    yearSpin->hide();
    q->setFocus(Qt::OtherFocusReason);
    const QDate month = blockMonth(jumpBlock);
    const int target = yearSpin->value() * 12 + month.month() - 1 - jumpBlock;
    const int clamped = clampFirst(target);
    if (clamped != firstMonth) jumpTo(clamped);
}

MonthCalendar::MonthCalendar(QWidget* parent) : QWidget(parent), d(std::make_unique<Impl>(this)) {
    setObjectName(QStringLiteral("MonthCalendar"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    d->colors = {
        colorFromValue(0x00FFFFFFu),  // clWhite
        colorFromValue(0xFF000018u),  // clInfoBk
        colorFromValue(0xFF000008u),  // clWindowText
        colorFromValue(0xFF000002u),  // clActiveCaption
        colorFromValue(0x00FFFFFFu),  // clWhite
        colorFromValue(0xFF000013u),  // clInactiveCaptionText
    };
    d->selected = std::clamp(QDate::currentDate(), d->minDate, d->maxDate);
    d->firstMonth = monthIndex(d->selected);
    d->repeat = new QTimer(this);
    d->repeat->setInterval(kRepeatMs);
    connect(d->repeat, &QTimer::timeout, this, [this] {
        const Impl::Hit hit = d->hitTest(d->lastPos);
        if (hit.part != d->pressed) return;  // pointer left the arrow: pause
        d->scrollBy(d->pressed == Impl::Next ? d->count() : -d->count());
    });
    d->relayout();
}

MonthCalendar::~MonthCalendar() = default;

QDate MonthCalendar::selectedDate() const { return d->selected; }

void MonthCalendar::setSelectedDate(const QDate& date) { d->select(date); }

void MonthCalendar::setDateRange(const QDate& min, const QDate& max) {
    // Years before 100 would put the leading month outside what QDate holds.
    if (!min.isValid() || !max.isValid() || min > max || min.year() < 100) return;
    d->minDate = min;
    d->maxDate = max;
    const QDate clamped = std::clamp(d->selected, min, max);
    d->setFirst(d->firstMonth);
    if (clamped != d->selected) d->select(clamped);
    update();
}

QDate MonthCalendar::minimumDate() const { return d->minDate; }
QDate MonthCalendar::maximumDate() const { return d->maxDate; }

void MonthCalendar::setFirstDayOfWeek(int day) {
    if (day < 0 || day > 6) return;
    d->firstDow = day;
    d->askIfChanged(false);
    update();
}

int MonthCalendar::firstDayOfWeek() const { return d->firstDow; }

void MonthCalendar::setColor(ColorIndex index, const QColor& color) {
    if (index < Background || index > TrailingText) return;
    d->colors[index] = color;
    update();
}

QColor MonthCalendar::color(ColorIndex index) const {
    if (index < Background || index > TrailingText) return QColor();
    return d->colors[index];
}

void MonthCalendar::setWeekNumbers(bool on) {
    if (d->weekNumbers == on) return;
    d->weekNumbers = on;
    d->relayout();
    updateGeometry();
}

bool MonthCalendar::weekNumbers() const { return d->weekNumbers; }

void MonthCalendar::setMonthInfoHandler(MonthInfoHandler handler) {
    d->handler = std::move(handler);
    d->askIfChanged(true);
}

void MonthCalendar::refreshMonthInfo() { d->askIfChanged(true); }

QSize MonthCalendar::monthBlockSize() const { return QSize(d->blockW, d->blockH); }
int MonthCalendar::columns() const {
    d->sync();
    return d->cols;
}
int MonthCalendar::rows() const {
    d->sync();
    return d->rowsN;
}
int MonthCalendar::visibleMonthCount() const {
    d->sync();
    return d->count();
}
QDate MonthCalendar::firstVisibleMonth() const {
    d->sync();
    return monthStart(d->firstMonth);
}

QRect MonthCalendar::dayCellRect(const QDate& date) const {
    d->sync();
    int block = 0;
    int row = 0;
    int col = 0;
    if (!d->cellOf(date, &block, &row, &col)) return QRect();
    return d->cellRect(block, row, col);
}

quint32 MonthCalendar::boldMaskFor(int year, int month) const {
    d->sync();
    const auto it = d->bold.find(year * 12 + month - 1);
    return it == d->bold.end() ? 0 : it->second;
}

bool MonthCalendar::isDayBold(const QDate& date) const {
    if (!date.isValid()) return false;
    return (boldMaskFor(date.year(), date.month()) >> (date.day() - 1)) & 1u;
}

QRect MonthCalendar::titleRect(int block) const {
    d->sync();
    if (block < 0 || block >= d->count()) return QRect();
    return QRect(d->blockOrigin(block), QSize(d->blockW, d->titleH));
}

QRect MonthCalendar::previousButtonRect() const {
    d->sync();
    return d->arrowRect(false);
}

QRect MonthCalendar::nextButtonRect() const {
    d->sync();
    return d->arrowRect(true);
}

int MonthCalendar::weekNumberShown(int block, int row) const {
    d->sync();
    if (!d->weekNumbers || block < 0 || block >= d->count() || row < 0 || row >= kWeeks) return 0;
    const QDate start = d->gridStart(block).addDays(row * 7);
    bool any = false;
    for (int c = 0; c < 7 && !any; ++c) any = d->cellShown(block, start.addDays(c));
    if (!any) return 0;
    // The row's last day decides: a row holding 1 January is week 1.
    return weekNumber(start.addDays(6), d->firstDow);
}

int MonthCalendar::weekNumber(const QDate& date, int firstDayOfWeek) {
    if (!date.isValid()) return 0;
    firstDayOfWeek = ((firstDayOfWeek % 7) + 7) % 7;
    const QDate jan1(date.year(), 1, 1);
    const int back = (weekday0(jan1) - firstDayOfWeek + 7) % 7;  // [0, 6]
    const QDate week1 = jan1.addDays(-back);
    return int(week1.daysTo(date) / 7) + 1;  // [1, 54]
}

QSize MonthCalendar::sizeHint() const { return QSize(d->blockW + 4, d->blockH + 4); }
QSize MonthCalendar::minimumSizeHint() const { return QSize(d->blockW, d->blockH); }

void MonthCalendar::paintEvent(QPaintEvent*) {
    d->sync();
    QPainter p(this);
    p.fillRect(rect(), d->colors[Background]);
    for (int b = 0; b < d->count(); ++b) d->paintBlock(p, b);
}

void MonthCalendar::resizeEvent(QResizeEvent*) { d->relayout(); }

void MonthCalendar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (d->yearSpin && d->yearSpin->isVisible()) d->commitYearSpin();
    d->sync();
    d->lastPos = event->position().toPoint();
    const Impl::Hit hit = d->hitTest(d->lastPos);
    d->pressed = hit.part;
    if (hit.part == Impl::Prev || hit.part == Impl::Next) {
        d->scrollBy(hit.part == Impl::Next ? d->count() : -d->count());
        d->repeat->start();
    }
    update();
}

void MonthCalendar::mouseMoveEvent(QMouseEvent* event) {
    d->lastPos = event->position().toPoint();
    QWidget::mouseMoveEvent(event);
}

void MonthCalendar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    d->repeat->stop();
    d->sync();
    const Impl::Part pressed = d->pressed;
    d->pressed = Impl::None;
    update();
    const Impl::Hit hit = d->hitTest(event->position().toPoint());
    if (pressed == Impl::Day && hit.part == Impl::Day) {
        if (d->select(hit.date)) Q_EMIT clicked();
    } else if (pressed == hit.part && hit.part == Impl::TitleMonth) {
        d->openMonthMenu(hit.block);
    } else if (pressed == hit.part && hit.part == Impl::TitleYear) {
        d->openYearSpin(hit.block);
    }
}

void MonthCalendar::keyPressEvent(QKeyEvent* event) {
    d->sync();
    const QDate sel = d->selected;
    QDate target;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left: target = sel.addDays(-1); break;
    case Qt::Key_Right: target = sel.addDays(1); break;
    case Qt::Key_Up: target = sel.addDays(-7); break;
    case Qt::Key_Down: target = sel.addDays(7); break;
    // addMonths keeps the day where the month has it, else its last day.
    case Qt::Key_PageUp: target = sel.addMonths(ctrl ? -d->count() : -1); break;
    case Qt::Key_PageDown: target = sel.addMonths(ctrl ? d->count() : 1); break;
    case Qt::Key_Home: target = QDate(sel.year(), sel.month(), 1); break;
    case Qt::Key_End: target = QDate(sel.year(), sel.month(), sel.daysInMonth()); break;
    default: QWidget::keyPressEvent(event); return;
    }
    d->select(target);  // refused outside the range: the selection stays
    event->accept();
}

void MonthCalendar::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        d->relayout();
        updateGeometry();
    } else if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        update();
    }
    QWidget::changeEvent(event);
}

bool MonthCalendar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == d->yearSpin && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            d->yearSpin->hide();  // cancelled: the view stays
            setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace mekuri
