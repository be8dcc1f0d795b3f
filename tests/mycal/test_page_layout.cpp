// Page layout: the millimetre rule, the layout quantities, the picture fit
// and the day grid.
#include "mycal/page_layout.h"

#include "platform/fonts.h"
#include "platform/page_recorder.h"

#include <gtest/gtest.h>

using namespace mekuri;

namespace {

// A 600-dpi sheet 4960 pixels wide, as in the worked example.
PrinterPageMetrics metrics600() {
    PrinterPageMetrics m;
    m.PaperWidth = 4960;
    m.PaperHeight = 7016;
    m.OffsetX = 100;
    m.OffsetY = 90;
    m.PrintableWidth = 4760;
    m.PrintableHeight = 6814;
    m.PixelsPerInchX = m.PixelsPerInchY = 600;
    m.BottomUnprintable = m.PaperHeight - m.PrintableHeight - m.OffsetY;
    return m;
}

PageInputs inputs(int left = 10, int size = 13) {
    PageInputs in;
    in.displayedDate = QDate(2019, 5, 1);
    in.fontFamily = QStringLiteral("IPAGothic");
    in.leftMargin = left;
    in.fontSize = size;
    return in;
}

}  // namespace

TEST(MmToPixels, TruncatesTheExactValue) {
    struct Case {
        int mm, dpi, px;
    } cases[] = {
        {10, 600, 236},  // 236.22
        {13, 600, 307},  // 307.08
        {5, 600, 118},   // 118.11
        {254, 600, 6000},  // exactly 6000: no floating-point shortfall
        {127, 96, 480},  // exactly 480
        {1, 96, 3},      // 3.78
        {0, 600, 0},
        {999, 600, 23598},  // 23598.4
    };
    for (const Case& c : cases) EXPECT_EQ(mmToPixels(c.mm, c.dpi), c.px) << c.mm << " mm at " << c.dpi;
}

TEST(PageLayout, WorkedExampleAt600Dpi) {
    const PageLayout p = computePageLayout(metrics600(), inputs(10, 13));
    EXPECT_EQ(p.L, 236);
    EXPECT_EQ(p.W, 4488);
    EXPECT_EQ(p.H, 3366);
    EXPECT_EQ(p.F, 307);
    EXPECT_EQ(p.monthFontHeight, 491);
    EXPECT_EQ(p.japaneseWeekdayFontHeight, 245);
    EXPECT_EQ(p.englishWeekdayFontHeight, 184);
    EXPECT_EQ(p.weekdayFontHeight(0), 245);
    EXPECT_EQ(p.weekdayFontHeight(1), 184);
    EXPECT_EQ(p.weekdayFontHeight(5), 0);
}

TEST(PageLayout, PositionsFollowFromMarginsOffsetsAndMeasuredTexts) {
    PageInputs in = inputs(17, 13);
    in.topMargin = 20;
    in.columnPitch = 27;
    in.lineSpacing = 4;
    const PrinterPageMetrics m = metrics600();
    const PageLayout p = computePageLayout(m, in);
    EXPECT_EQ(p.L, 401);  // 401.57
    EXPECT_EQ(p.T, 472);  // 472.44
    EXPECT_EQ(p.W, 4960 - 802);
    EXPECT_EQ(p.x0, 401 - 100);
    EXPECT_EQ(p.y0, 472 - 90);
    EXPECT_EQ(p.H, (3 * p.W) / 4);
    EXPECT_EQ(p.monthX, p.x0 + 118);
    EXPECT_EQ(p.Ym, p.y0 + p.H);
    EXPECT_EQ(p.Yh, p.Ym + pageTextHeight(in.fontFamily, 491, false));
    EXPECT_EQ(p.C, 637);  // 637.79
    EXPECT_EQ(p.R, pageTextHeight(in.fontFamily, 307, false) + 94);  // 4 mm = 94.48
    EXPECT_EQ(p.X0, p.x0 + pageTextWidth(in.fontFamily, 307, false, QStringLiteral("88")));
    EXPECT_GT(p.X0, p.x0);
}

TEST(PageLayout, ResolutionAcrossAndDownAreUsedForTheirDirections) {
    PrinterPageMetrics m = metrics600();
    m.PixelsPerInchX = 300;
    PageInputs in = inputs(10, 13);
    in.topMargin = 10;
    const PageLayout p = computePageLayout(m, in);
    EXPECT_EQ(p.L, 118);  // across at 300 dpi
    EXPECT_EQ(p.T, 236);  // down at 600 dpi
    EXPECT_EQ(p.F, 307);  // font heights go down the page
}

TEST(PageLayout, ALandscapeSheetWidensContentAndPictureArea) {
    PrinterPageMetrics landscape = metrics600();
    std::swap(landscape.PaperWidth, landscape.PaperHeight);
    const PageLayout portrait = computePageLayout(metrics600(), inputs());
    const PageLayout wide = computePageLayout(landscape, inputs());
    EXPECT_EQ(wide.W, 7016 - 2 * 236);
    EXPECT_GT(wide.W, portrait.W);
    EXPECT_EQ(wide.H, 3 * wide.W / 4);
}

namespace {

struct FitCase {
    const char* name;
    QSize picture;
    int ratio;
    int dx, dy, w, h;  // expected placement inside the area
};

}  // namespace

TEST(PictureTarget, FitsAndCentresInThePictureArea) {
    const PageLayout p = computePageLayout(metrics600(), inputs(10, 13));  // W 4488, H 3366
    ASSERT_EQ(p.W, 4488);
    const FitCase cases[] = {
        // width fills W, centred vertically: h = 4488 * 900 / 1600 = 2524
        {"1600x900 at 100", {1600, 900}, 100, 0, (3366 - 2524) / 2, 4488, 2524},
        // box 2244 x 1683; width fills the box, h = 2244 * 450 / 800 = 1262
        {"1600x900 at 50", {1600, 900}, 50, (4488 - 2244) / 2, (3366 - 1262) / 2, 2244, 1262},
        {"exact 4:3 at 100", {800, 600}, 100, 0, 0, 4488, 3366},
        // taller than 3:4: height fills, w = 3366 * 900 / 1600 = 1893
        {"900x1600 at 100", {900, 1600}, 100, (4488 - 1893) / 2, 0, 1893, 3366},
        // Wp (or Hp) 0 is taken as 1: box 2244 x 1683, centred both ways
        {"one pixel wide at 50", {1, 400}, 50, (4488 - 8) / 2, (3366 - 1683) / 2, 8, 1683},
        {"one pixel high at 50", {400, 1}, 50, (4488 - 2244) / 2, (3366 - 11) / 2, 2244, 11},
        {"bigger than the area", {9000, 6750}, 100, 0, 0, 4488, 3366},
    };
    for (const FitCase& c : cases) {
        const QRect r = pictureTarget(p, c.picture, c.ratio);
        EXPECT_EQ(r.left(), p.x0 + c.dx) << c.name;
        EXPECT_EQ(r.top(), p.y0 + c.dy + 1) << c.name;  // one pixel short at the top
        EXPECT_EQ(r.width(), c.w) << c.name;
        EXPECT_EQ(r.height(), c.h - 2) << c.name;  // and at the bottom
    }
}

TEST(PictureTarget, NoPictureNoPlace) {
    const PageLayout p = computePageLayout(metrics600(), inputs());
    EXPECT_TRUE(pictureTarget(p, QSize(), 100).isEmpty());
    EXPECT_TRUE(pictureTarget(p, QSize(0, 10), 100).isEmpty());
}

TEST(DayCell, SundayFirstGridWithTheFirstInRowOne) {
    struct Case {
        const char* name;
        int year, month, day, column, row;
    } cases[] = {
        {"1st on a Sunday opens row 1", 2019, 9, 1, 0, 1},
        {"Sept 2019 ends in row 5", 2019, 9, 30, 1, 5},
        {"1st on a Monday", 2019, 4, 1, 1, 1},
        {"April 6th is Saturday of row 1", 2019, 4, 6, 6, 1},
        {"April 7th opens row 2", 2019, 4, 7, 0, 2},
        {"1st on a Saturday", 2020, 8, 1, 6, 1},
        {"30th in the sixth row's Sunday", 2020, 8, 30, 0, 6},
        {"31st in the sixth row's Monday", 2020, 8, 31, 1, 6},
        {"February 2015 takes four rows", 2015, 2, 28, 6, 4},
        {"Sunday in the middle", 2019, 5, 12, 0, 3},
    };
    for (const Case& c : cases) {
        const DayCell cell = dayCell(QDate(c.year, c.month, 1), c.day);
        EXPECT_EQ(cell.column, c.column) << c.name;
        EXPECT_EQ(cell.row, c.row) << c.name;
    }
}

TEST(DayCell, EveryDayFollowsItsWeekday) {
    // Walk every day of 1900..2087: the column is the weekday, rows advance
    // on Sundays only.
    for (QDate first(1900, 1, 1); first.year() <= 2087; first = first.addMonths(1)) {
        int row = 1;
        for (int d = 1; d <= first.daysInMonth(); ++d) {
            const QDate date = first.addDays(d - 1);
            if (d > 1 && date.dayOfWeek() == 7) ++row;
            const DayCell cell = dayCell(first, d);
            ASSERT_EQ(cell.column, date.dayOfWeek() % 7) << date.toString(Qt::ISODate).toStdString();
            ASSERT_EQ(cell.row, row) << date.toString(Qt::ISODate).toStdString();
        }
    }
}

TEST(PageInputs, HolidaysComeFromTheDisplayedMonthsRow) {
    HolidayTable table;
    table.slotCount = 10;
    table.rows[3] = {29, 0, 0, 0, 0, 0, 0, 0, 0, 7};
    table.rows[4] = {3, 4, 5, 0, 0, 0, 0, 0, 0, 0};
    PageInputs in;
    in.displayedDate = QDate(2019, 4, 30);
    setHolidays(in, table);
    EXPECT_EQ(in.holidays, table.rows[3]);
    EXPECT_EQ(in.holidaySlotCount, 10);
    in.displayedDate = QDate(2019, 5, 1);
    table.slotCount = 4;
    setHolidays(in, table);
    EXPECT_EQ(in.holidays, table.rows[4]);
    EXPECT_EQ(in.holidaySlotCount, 4);
}
