#include "mycal/page_layout.h"

#include "platform/page_recorder.h"

#include <QRect>

#include <algorithm>

namespace mekuri {

int mmToPixels(int mm, int dpi) {
    // n * dpi / 25.4 == n * dpi * 10 / 254; integer division truncates toward
    // zero like the original and never lands one short through rounding.
    return int(qint64(mm) * dpi * 10 / 254);
}

void setHolidays(PageInputs& inputs, const HolidayTable& table) {
    const int month = inputs.displayedDate.isValid() ? inputs.displayedDate.month() : 1;  // [1, 12]
    inputs.holidays = table.rows[size_t(month - 1)];
    inputs.holidaySlotCount = table.slotCount;
}

int PageLayout::weekdayFontHeight(int notation) const {
    if (notation == 0) return japaneseWeekdayFontHeight;
    if (notation == 1) return englishWeekdayFontHeight;
    return 0;
}

PageLayout computePageLayout(const PrinterPageMetrics& m, const PageInputs& in) {
    PageLayout p;
    p.L = mmToPixels(in.leftMargin, m.PixelsPerInchX);
    p.T = mmToPixels(in.topMargin, m.PixelsPerInchY);
    p.W = m.PaperWidth - 2 * p.L;
    p.x0 = p.L - m.OffsetX;
    p.y0 = p.T - m.OffsetY;
    p.H = int(qint64(3) * p.W / 4);
    p.F = mmToPixels(in.fontSize, m.PixelsPerInchY);
    p.monthFontHeight = int(qint64(p.F) * 16 / 10);
    p.japaneseWeekdayFontHeight = int(qint64(p.F) * 8 / 10);
    p.englishWeekdayFontHeight = int(qint64(p.F) * 6 / 10);
    p.monthX = p.x0 + mmToPixels(5, m.PixelsPerInchX);
    p.Ym = p.y0 + p.H;
    p.Yh = p.Ym + pageTextHeight(in.fontFamily, p.monthFontHeight, false);
    p.C = mmToPixels(in.columnPitch, m.PixelsPerInchX);
    p.R = pageTextHeight(in.fontFamily, p.F, false) + mmToPixels(in.lineSpacing, m.PixelsPerInchY);
    p.X0 = p.x0 + pageTextWidth(in.fontFamily, p.F, false, QStringLiteral("88"));
    return p;
}

QRect pictureTarget(const PageLayout& layout, QSize pictureSize, int pictureRatio) {
    const qint64 W = layout.W;
    const qint64 H = layout.H;
    const qint64 p = pictureRatio;
    if (pictureSize.isEmpty() || W <= 0 || H <= 0 || p <= 0) return {};
    // A picture one pixel wide or high shrinks to 0 below 100 %: take it as
    // one pixel, so the fit below never divides by zero.
    const qint64 Wp = std::max<qint64>(1, qint64(pictureSize.width()) * p / 100);
    const qint64 Hp = std::max<qint64>(1, qint64(pictureSize.height()) * p / 100);
    const qint64 BW = p * W / 100;
    const qint64 BH = p * H / 100;
    qint64 w = 0;
    qint64 h = 0;
    if (Hp * W > H * Wp) {  // Hp / Wp > H / W: the height fills the box
        w = BH * Wp / Hp;
        h = BH;
    } else {
        w = BW;
        h = BW * Hp / Wp;
    }
    const qint64 dx = w < W ? (W - w) / 2 : 0;
    const qint64 dy = h < H ? (H - h) / 2 : 0;
    // One pixel short at the top and at the bottom, so a frame's top and
    // bottom lines stay visible.
    const int left = int(layout.x0 + dx);
    const int top = int(layout.y0 + dy + 1);
    const int right = int(layout.x0 + dx + w);
    const int bottom = int(layout.y0 + dy + h - 1);
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

DayCell dayCell(const QDate& firstOfMonth, int day) {
    // Sunday 0 .. Saturday 6. The grid starts on the Sunday before the Monday
    // on or before the 1st; when the 1st is a Sunday that whole first row is
    // empty and omitted, so the week of the 1st is always row 1.
    const int weekdayOfFirst = firstOfMonth.dayOfWeek() % 7;  // [0, 6]
    const int offset = day - 1 + weekdayOfFirst;              // [0, 36]
    return DayCell{offset % 7, offset / 7 + 1};
}

}  // namespace mekuri
