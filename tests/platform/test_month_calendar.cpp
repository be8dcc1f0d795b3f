#include "platform/month_calendar.h"

#include "platform/fonts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <map>
#include <memory>
#include <vector>

namespace mekuri {
namespace {

class MonthCalendarTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installFontSubstitutions(); }

    void SetUp() override {
        cal = std::make_unique<MonthCalendar>();
        // The main window's calendar font.
        QFont font(QStringLiteral("MS UI Gothic"));
        font.setPixelSize(15);
        cal->setFont(font);
    }

    // Room for exactly c x r blocks.
    QSize gridSize(int c, int r) const {
        const QSize b = cal->monthBlockSize();
        return QSize(c * b.width() + (c - 1) * 6, r * b.height() + (r - 1) * 6);
    }

    void showAt(const QSize& size) {
        cal->resize(size);
        cal->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(cal.get()));
    }

    void click(const QPoint& pos) { QTest::mouseClick(cal.get(), Qt::LeftButton, {}, pos); }
    void clickDay(const QDate& date) {
        const QRect r = cal->dayCellRect(date);
        ASSERT_FALSE(r.isEmpty()) << date.toString(Qt::ISODate).toStdString();
        click(r.center());
    }

    // Records every bold-day request; answers from masks.
    void recordRequests() {
        cal->setMonthInfoHandler([this](int month) {
            asked.push_back(month);
            const auto it = masks.find(month);
            return it == masks.end() ? 0u : it->second;
        });
    }

    std::unique_ptr<MonthCalendar> cal;
    std::vector<int> asked;
    std::map<int, quint32> masks;
};

// --- layout -----------------------------------------------------------------

TEST_F(MonthCalendarTest, BlockCountFollowsTheClientArea) {
    struct Case {
        const char* name;
        QSize size;
        int columns;
        int rows;
    };
    const Case cases[] = {
        {"main window default client area", QSize(237, 240), 1, 1},
        {"default window without frame", QSize(253, 261), 1, 1},
        {"window twice as large", QSize(474, 400), 2, 2},
        {"too small still shows one", QSize(60, 40), 1, 1},
        {"exactly three by two", gridSize(3, 2), 3, 2},
        {"one pixel short of a second column", gridSize(2, 1) - QSize(1, 0), 1, 1},
        {"one pixel short of a second row", gridSize(1, 2) - QSize(0, 1), 1, 1},
    };
    for (const Case& c : cases) {
        cal->resize(c.size);
        EXPECT_EQ(cal->columns(), c.columns) << c.name;
        EXPECT_EQ(cal->rows(), c.rows) << c.name;
        EXPECT_EQ(cal->visibleMonthCount(), c.columns * c.rows) << c.name;
    }
}

TEST_F(MonthCalendarTest, AtMostTwelveMonthsInAWholeRectangle) {
    struct Case {
        int fitColumns;
        int fitRows;
        int columns;
        int rows;
    };
    const Case cases[] = {
        {5, 4, 4, 3}, {4, 4, 4, 3}, {14, 1, 12, 1}, {7, 2, 6, 2}, {3, 9, 3, 4}, {13, 13, 4, 3}, {2, 13, 2, 6},
    };
    for (const Case& c : cases) {
        cal->resize(gridSize(c.fitColumns, c.fitRows));
        EXPECT_EQ(cal->columns(), c.columns) << c.fitColumns << "x" << c.fitRows;
        EXPECT_EQ(cal->rows(), c.rows) << c.fitColumns << "x" << c.fitRows;
    }
}

TEST_F(MonthCalendarTest, GridIsCentredOrTopLeftWhenItDoesNotFit) {
    const QSize block = cal->monthBlockSize();
    cal->resize(block + QSize(40, 30));
    EXPECT_EQ(cal->titleRect(0).topLeft(), QPoint(20, 15));
    cal->resize(block - QSize(30, 30));
    EXPECT_EQ(cal->titleRect(0).topLeft(), QPoint(0, 0));
    cal->resize(gridSize(2, 2) + QSize(10, 4));
    EXPECT_EQ(cal->titleRect(0).topLeft(), QPoint(5, 2));
    EXPECT_EQ(cal->titleRect(3).topLeft(),
              QPoint(5 + block.width() + 6, 2 + block.height() + 6));
}

TEST_F(MonthCalendarTest, SizeHintHoldsOneBlockAndFontChangesRelayout) {
    const QSize block = cal->monthBlockSize();
    EXPECT_GE(cal->sizeHint().width(), block.width());
    EXPECT_GE(cal->sizeHint().height(), block.height());
    cal->resize(cal->sizeHint());
    EXPECT_EQ(cal->visibleMonthCount(), 1);

    QFont big = cal->font();
    big.setPixelSize(30);
    cal->setFont(big);
    EXPECT_GT(cal->monthBlockSize().width(), block.width());
    EXPECT_GT(cal->monthBlockSize().height(), block.height());
    cal->resize(gridSize(1, 1));
    EXPECT_EQ(cal->visibleMonthCount(), 1);
}

TEST_F(MonthCalendarTest, ShrinkingKeepsTheSelectionInView) {
    cal->resize(gridSize(2, 2));
    cal->setSelectedDate(QDate(2021, 1, 5));
    cal->setSelectedDate(QDate(2021, 4, 5));
    ASSERT_EQ(cal->firstVisibleMonth(), QDate(2021, 1, 1));
    recordRequests();
    asked.clear();
    cal->resize(gridSize(1, 1));
    EXPECT_EQ(cal->firstVisibleMonth(), QDate(2021, 4, 1));
    EXPECT_EQ(asked, (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(cal->selectedDate(), QDate(2021, 4, 5));
}

// Every drawn day lies in one column of seven: the cells must not overlap and
// the day numbers must fit them.
TEST_F(MonthCalendarTest, DayCellsFormAGridOfSevenColumns) {
    showAt(gridSize(1, 1));
    cal->setSelectedDate(QDate(2021, 2, 10));
    const QRect first = cal->dayCellRect(QDate(2021, 2, 1));
    const QRect next = cal->dayCellRect(QDate(2021, 2, 2));
    const QRect week = cal->dayCellRect(QDate(2021, 2, 8));
    EXPECT_EQ(next.left(), first.right() + 1);
    EXPECT_EQ(week.left(), first.left());
    EXPECT_EQ(week.top(), first.bottom() + 1);
    QFont bold = cal->font();
    bold.setBold(true);
    EXPECT_GE(first.width(), QFontMetrics(bold).horizontalAdvance(QStringLiteral("28")) + 4);
    EXPECT_GE(first.height(), QFontMetrics(cal->font()).height());
}

// --- bold days --------------------------------------------------------------

TEST_F(MonthCalendarTest, AsksLeadingVisibleAndTrailingMonthsInOrder) {
    cal->setFirstDayOfWeek(6);  // Sunday
    cal->resize(gridSize(2, 1));
    cal->setSelectedDate(QDate(2000, 11, 15));
    ASSERT_EQ(cal->firstVisibleMonth(), QDate(2000, 11, 1));
    recordRequests();
    EXPECT_EQ(asked, (std::vector<int>{10, 11, 12, 1}));
    // The shown range is 2000-10-29 to 2001-01-06.
    EXPECT_FALSE(cal->dayCellRect(QDate(2000, 10, 29)).isEmpty());
    EXPECT_TRUE(cal->dayCellRect(QDate(2000, 10, 28)).isEmpty());
    EXPECT_FALSE(cal->dayCellRect(QDate(2001, 1, 6)).isEmpty());
    EXPECT_TRUE(cal->dayCellRect(QDate(2001, 1, 7)).isEmpty());
}

TEST_F(MonthCalendarTest, AsksAgainWhenTheShownMonthsChange) {
    showAt(gridSize(2, 1));
    cal->setSelectedDate(QDate(2000, 11, 15));
    recordRequests();

    struct Step {
        const char* name;
        std::function<void()> act;
        std::vector<int> expected;
    };
    const Step steps[] = {
        {"next arrow", [&] { click(cal->nextButtonRect().center()); }, {12, 1, 2, 3}},
        {"resize to four months", [&] { cal->resize(gridSize(2, 2)); }, {12, 1, 2, 3, 4, 5}},
        {"first day of week", [&] { cal->setFirstDayOfWeek(6); }, {12, 1, 2, 3, 4, 5}},
        {"resize that keeps the months", [&] { cal->resize(gridSize(2, 2) + QSize(3, 3)); }, {}},
        {"selection inside the view", [&] { cal->setSelectedDate(QDate(2001, 2, 3)); }, {}},
        {"refresh", [&] { cal->refreshMonthInfo(); }, {12, 1, 2, 3, 4, 5}},
    };
    for (const Step& s : steps) {
        asked.clear();
        s.act();
        EXPECT_EQ(asked, s.expected) << s.name;
    }
}

TEST_F(MonthCalendarTest, BoldMaskReachesTheDrawnCells) {
    showAt(gridSize(1, 1));
    cal->setSelectedDate(QDate(2000, 11, 15));
    const QImage plain = cal->grab().toImage();
    masks[11] = (1u << 2) | (1u << 22);  // 3 and 23 November
    masks[12] = 1u << 1;                  // 2 December, shown as a trailing day
    recordRequests();

    EXPECT_EQ(cal->boldMaskFor(2000, 11), masks[11]);
    EXPECT_EQ(cal->boldMaskFor(2000, 12), masks[12]);
    EXPECT_TRUE(cal->isDayBold(QDate(2000, 11, 3)));
    EXPECT_FALSE(cal->isDayBold(QDate(2000, 11, 4)));

    const QImage marked = cal->grab().toImage();
    struct Cell {
        QDate date;
        bool changes;
    };
    const Cell cells[] = {
        {QDate(2000, 11, 3), true},   {QDate(2000, 11, 23), true}, {QDate(2000, 12, 2), true},
        {QDate(2000, 11, 4), false},  {QDate(2000, 11, 22), false}, {QDate(2000, 12, 3), false},
    };
    for (const Cell& c : cells) {
        const QRect r = cal->dayCellRect(c.date);
        ASSERT_FALSE(r.isEmpty());
        EXPECT_EQ(plain.copy(r) != marked.copy(r), c.changes) << c.date.toString().toStdString();
    }
}

TEST_F(MonthCalendarTest, MonthNumbersWrapAtTheYearEnd) {
    cal->resize(gridSize(1, 1));
    cal->setSelectedDate(QDate(2000, 1, 10));
    recordRequests();
    EXPECT_EQ(asked, (std::vector<int>{12, 1, 2}));
    asked.clear();
    cal->setSelectedDate(QDate(2000, 12, 10));
    EXPECT_EQ(asked, (std::vector<int>{11, 12, 1}));
}

// --- week numbers -----------------------------------------------------------

TEST(MonthCalendarWeekNumber, JapaneseRuleWeekOneHoldsJanuaryFirst) {
    struct Case {
        QDate date;
        int firstDow;  // 0 Monday, 6 Sunday
        int week;
    };
    const Case cases[] = {
        // 2021: 1 January is a Friday.
        {QDate(2021, 1, 1), 0, 1},   {QDate(2021, 1, 3), 0, 1},   {QDate(2021, 1, 4), 0, 2},
        {QDate(2021, 1, 2), 6, 1},   {QDate(2021, 1, 3), 6, 2},   {QDate(2021, 12, 26), 0, 52},
        {QDate(2021, 12, 31), 0, 53}, {QDate(2021, 12, 31), 6, 53},
        // 2023: 1 January is a Sunday.
        {QDate(2023, 1, 1), 0, 1},   {QDate(2023, 1, 2), 0, 2},   {QDate(2023, 1, 1), 6, 1},
        {QDate(2023, 1, 7), 6, 1},   {QDate(2023, 1, 8), 6, 2},
        // 2000: leap year beginning on a Saturday; with Sunday first it has 54 weeks.
        {QDate(2000, 1, 1), 0, 1},   {QDate(2000, 1, 2), 0, 1},   {QDate(2000, 1, 3), 0, 2},
        {QDate(2000, 1, 2), 6, 2},   {QDate(2000, 12, 31), 0, 53}, {QDate(2000, 12, 31), 6, 54},
        // A Wednesday start.
        {QDate(2021, 1, 5), 2, 1},   {QDate(2021, 1, 6), 2, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MonthCalendar::weekNumber(c.date, c.firstDow), c.week)
            << c.date.toString(Qt::ISODate).toStdString() << " first " << c.firstDow;
    }
}

TEST_F(MonthCalendarTest, WeekNumberColumnShowsTheRowsWeek) {
    struct Case {
        const char* name;
        int firstDow;
        QDate month;
        int block;
        int row;
        int week;
    };
    const Case cases[] = {
        {"row holding 1 January 2021, Monday first", 0, QDate(2021, 1, 1), 0, 0, 1},
        {"row holding 1 January 2021, Sunday first", 6, QDate(2021, 1, 1), 0, 0, 1},
        {"second row of January 2021", 0, QDate(2021, 1, 1), 0, 1, 2},
        {"December row reaching into the new year", 0, QDate(2021, 12, 1), 0, 4, 1},
        {"month beginning on the first weekday shows a full week before", 0,
         QDate(2021, 11, 1), 0, 0, 44},
        {"January 2023, Sunday first: a row of December only", 6, QDate(2023, 1, 1), 0, 0, 53},
        {"January 2023, Sunday first, the row of 1 January", 6, QDate(2023, 1, 1), 0, 1, 1},
        {"January 2000, Monday first", 0, QDate(2000, 1, 1), 0, 0, 1},
        {"January 2000, Monday first, second row", 0, QDate(2000, 1, 1), 0, 1, 2},
    };
    cal->resize(gridSize(1, 1));
    for (const Case& c : cases) {
        cal->setFirstDayOfWeek(c.firstDow);
        cal->setSelectedDate(c.month);
        EXPECT_EQ(cal->weekNumberShown(c.block, c.row), c.week) << c.name;
    }
}

TEST_F(MonthCalendarTest, RowsWithoutAShownDayHaveNoWeekNumber) {
    cal->setFirstDayOfWeek(6);
    cal->resize(gridSize(2, 1));
    cal->setSelectedDate(QDate(2000, 11, 15));
    // November's last row (3 to 9 December) is blank between the blocks.
    EXPECT_EQ(cal->weekNumberShown(0, 5), 0);
    EXPECT_TRUE(cal->dayCellRect(QDate(2000, 12, 3)).isEmpty() == false);  // drawn in block 1
    EXPECT_EQ(cal->dayCellRect(QDate(2000, 12, 3)).top() > cal->titleRect(1).top(), true);
    // The last block shows its trailing days and their week.
    EXPECT_EQ(cal->weekNumberShown(1, 5), MonthCalendar::weekNumber(QDate(2001, 1, 6), 6));
    cal->setWeekNumbers(false);
    EXPECT_EQ(cal->weekNumberShown(1, 0), 0);
}

// --- keyboard ---------------------------------------------------------------

TEST_F(MonthCalendarTest, KeysMoveTheSelectionWithoutAClick) {
    struct Case {
        const char* name;
        QDate from;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        QDate to;
    };
    const Case cases[] = {
        {"left", QDate(2021, 3, 1), Qt::Key_Left, {}, QDate(2021, 2, 28)},
        {"right", QDate(2021, 2, 28), Qt::Key_Right, {}, QDate(2021, 3, 1)},
        {"up", QDate(2021, 3, 3), Qt::Key_Up, {}, QDate(2021, 2, 24)},
        {"down", QDate(2021, 12, 28), Qt::Key_Down, {}, QDate(2022, 1, 4)},
        {"page up from 31 March", QDate(2021, 3, 31), Qt::Key_PageUp, {}, QDate(2021, 2, 28)},
        {"page up from 31 March, leap year", QDate(2020, 3, 31), Qt::Key_PageUp, {},
         QDate(2020, 2, 29)},
        {"page down from 31 January", QDate(2021, 1, 31), Qt::Key_PageDown, {}, QDate(2021, 2, 28)},
        {"home", QDate(2021, 5, 17), Qt::Key_Home, {}, QDate(2021, 5, 1)},
        {"end", QDate(2020, 2, 3), Qt::Key_End, {}, QDate(2020, 2, 29)},
        {"ctrl page down by the months shown", QDate(2021, 1, 31), Qt::Key_PageDown,
         Qt::ControlModifier, QDate(2021, 5, 31)},
        {"ctrl page up by the months shown", QDate(2021, 7, 31), Qt::Key_PageUp,
         Qt::ControlModifier, QDate(2021, 3, 31)},
    };
    showAt(gridSize(2, 2));
    QSignalSpy clicks(cal.get(), &MonthCalendar::clicked);
    for (const Case& c : cases) {
        cal->setSelectedDate(c.from);
        QTest::keyClick(cal.get(), c.key, c.mods);
        EXPECT_EQ(cal->selectedDate(), c.to) << c.name;
        EXPECT_FALSE(cal->dayCellRect(c.to).isEmpty()) << c.name << ": not scrolled into view";
    }
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(MonthCalendarTest, KeyboardScrollsJustFarEnoughOrByTheMonthsShown) {
    showAt(gridSize(2, 2));
    cal->setSelectedDate(QDate(2021, 1, 15));
    ASSERT_EQ(cal->firstVisibleMonth(), QDate(2021, 1, 1));
    cal->setSelectedDate(QDate(2021, 4, 30));
    QTest::keyClick(cal.get(), Qt::Key_Right);  // into May: one month further
    EXPECT_EQ(cal->firstVisibleMonth(), QDate(2021, 2, 1));
    QTest::keyClick(cal.get(), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(cal->firstVisibleMonth(), QDate(2021, 6, 1));
    EXPECT_EQ(cal->selectedDate(), QDate(2021, 9, 1));
}

// --- mouse ------------------------------------------------------------------

TEST_F(MonthCalendarTest, OneClickNotificationPerMouseClickOnADay) {
    showAt(gridSize(2, 1));
    cal->setSelectedDate(QDate(2000, 11, 15));
    QSignalSpy clicks(cal.get(), &MonthCalendar::clicked);
    QSignalSpy changes(cal.get(), &MonthCalendar::selectionChanged);
    // The click handler must already see the new date.
    QDate seen;
    QObject::connect(cal.get(), &MonthCalendar::clicked, cal.get(), [&] { seen = cal->selectedDate(); });

    clickDay(QDate(2000, 12, 24));
    EXPECT_EQ(cal->selectedDate(), QDate(2000, 12, 24));
    EXPECT_EQ(seen, QDate(2000, 12, 24));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(changes.count(), 1);

    clickDay(QDate(2000, 12, 24));  // the same day again is still a click
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(changes.count(), 1);

    // Press on a day, release elsewhere: the release decides.
    const QPoint from = cal->dayCellRect(QDate(2000, 11, 2)).center();
    const QPoint to = cal->dayCellRect(QDate(2000, 11, 9)).center();
    QTest::mousePress(cal.get(), Qt::LeftButton, {}, from);
    QTest::mouseRelease(cal.get(), Qt::LeftButton, {}, to);
    EXPECT_EQ(cal->selectedDate(), QDate(2000, 11, 9));
    EXPECT_EQ(clicks.count(), 3);

    cal->setSelectedDate(QDate(2000, 11, 20));  // code: no click
    EXPECT_EQ(clicks.count(), 3);
}

TEST_F(MonthCalendarTest, ClicksOutsideTheDaysAreInert) {
    cal->setFirstDayOfWeek(6);
    showAt(gridSize(2, 1) + QSize(20, 20));
    cal->setSelectedDate(QDate(2000, 11, 15));
    QSignalSpy clicks(cal.get(), &MonthCalendar::clicked);
    // Where 3 December would stand in November's block: blank between blocks.
    const QRect oct29 = cal->dayCellRect(QDate(2000, 10, 29));
    const QPoint blank = oct29.center() + QPoint(0, 5 * oct29.height());
    const QPoint points[] = {QPoint(2, 2), blank, cal->titleRect(0).bottomLeft() + QPoint(2, 4)};
    for (const QPoint& p : points) click(p);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(cal->selectedDate(), QDate(2000, 11, 15));
    EXPECT_EQ(cal->firstVisibleMonth(), QDate(2000, 11, 1));
}

TEST_F(MonthCalendarTest, ClickOnANeighbouringMonthScrollsJustFarEnough) {
    struct Case {
        const char* name;
        int columns;
        QDate clicked;
        QDate firstAfter;
    };
    const Case cases[] = {
        {"trailing day, one block", 1, QDate(2000, 12, 2), QDate(2000, 12, 1)},
        {"leading day, one block", 1, QDate(2000, 10, 30), QDate(2000, 10, 1)},
        {"trailing day of the last of two", 2, QDate(2001, 1, 3), QDate(2000, 12, 1)},
        {"leading day of the first of two", 2, QDate(2000, 10, 30), QDate(2000, 10, 1)},
    };
    for (const Case& c : cases) {
        showAt(gridSize(c.columns, 1));
        cal->setSelectedDate(QDate(2010, 1, 1));
        cal->setSelectedDate(QDate(2000, 11, 15));
        ASSERT_EQ(cal->firstVisibleMonth(), QDate(2000, 11, 1));
        QSignalSpy clicks(cal.get(), &MonthCalendar::clicked);
        clickDay(c.clicked);
        EXPECT_EQ(cal->selectedDate(), c.clicked) << c.name;
        EXPECT_EQ(cal->firstVisibleMonth(), c.firstAfter) << c.name;
        EXPECT_EQ(clicks.count(), 1) << c.name;
    }
}

TEST_F(MonthCalendarTest, ArrowsScrollByTheMonthsShownAndCarryTheSelection) {
    showAt(gridSize(2, 1));
    cal->setSelectedDate(QDate(2021, 1, 31));
    QSignalSpy clicks(cal.get(), &MonthCalendar::clicked);
    click(cal->nextButtonRect().center());
    EXPECT_EQ(cal->firstVisibleMonth(), QDate(2021, 3, 1));
    EXPECT_EQ(cal->selectedDate(), QDate(2021, 3, 31));
    click(cal->nextButtonRect().center());
    EXPECT_EQ(cal->selectedDate(), QDate(2021, 5, 31));
    click(cal->previousButtonRect().center());
    click(cal->previousButtonRect().center());
    click(cal->previousButtonRect().center());
    EXPECT_EQ(cal->firstVisibleMonth(), QDate(2020, 11, 1));
    EXPECT_EQ(cal->selectedDate(), QDate(2020, 11, 30));  // day clamped to the month
    EXPECT_EQ(clicks.count(), 0);

    // The arrows sit in the top-left and top-right titles only.
    cal->resize(gridSize(2, 2));
    EXPECT_TRUE(cal->titleRect(0).contains(cal->previousButtonRect()));
    EXPECT_TRUE(cal->titleRect(1).contains(cal->nextButtonRect()));
}

TEST_F(MonthCalendarTest, HeldArrowRepeatsUntilReleased) {
    showAt(gridSize(1, 1));
    cal->setSelectedDate(QDate(2021, 1, 10));
    const QPoint arrow = cal->nextButtonRect().center();
    QTest::mousePress(cal.get(), Qt::LeftButton, {}, arrow);
    EXPECT_EQ(cal->firstVisibleMonth(), QDate(2021, 2, 1));
    for (int i = 0; i < 100 && cal->firstVisibleMonth() < QDate(2021, 4, 1); ++i) QTest::qWait(50);
    QTest::mouseRelease(cal.get(), Qt::LeftButton, {}, arrow);
    const QDate stopped = cal->firstVisibleMonth();
    EXPECT_GE(stopped, QDate(2021, 4, 1));
    QTest::qWait(1000);
    EXPECT_EQ(cal->firstVisibleMonth(), stopped);
}

// --- range ------------------------------------------------------------------

TEST_F(MonthCalendarTest, DefaultRangeIsTheProgramsOne) {
    EXPECT_EQ(cal->minimumDate(), QDate(1900, 1, 1));
    EXPECT_EQ(cal->maximumDate(), QDate(2087, 12, 31));
}

TEST_F(MonthCalendarTest, RefusesSelectionsAndScrollsOutsideTheRange) {
    struct Case {
        const char* name;
        QDate start;
        std::function<void()> act;
        QDate firstAfter;
    };
    showAt(gridSize(2, 1));
    const Case cases[] = {
        {"code before the range", QDate(1900, 1, 1),
         [&] { cal->setSelectedDate(QDate(1899, 12, 31)); }, QDate(1900, 1, 1)},
        {"left at the first day", QDate(1900, 1, 1),
         [&] { QTest::keyClick(cal.get(), Qt::Key_Left); }, QDate(1900, 1, 1)},
        {"page up in the first month", QDate(1900, 1, 1),
         [&] { QTest::keyClick(cal.get(), Qt::Key_PageUp); }, QDate(1900, 1, 1)},
        {"previous arrow at the first month", QDate(1900, 1, 1),
         [&] { click(cal->previousButtonRect().center()); }, QDate(1900, 1, 1)},
        {"leading day before the range", QDate(1900, 1, 1),
         [&] { clickDay(QDate(1899, 12, 31)); }, QDate(1900, 1, 1)},
        {"code after the range", QDate(2087, 12, 31),
         [&] { cal->setSelectedDate(QDate(2088, 1, 1)); }, QDate(2087, 11, 1)},
        {"right at the last day", QDate(2087, 12, 31),
         [&] { QTest::keyClick(cal.get(), Qt::Key_Right); }, QDate(2087, 11, 1)},
        {"ctrl page down near the end", QDate(2087, 12, 31),
         [&] { QTest::keyClick(cal.get(), Qt::Key_PageDown, Qt::ControlModifier); },
         QDate(2087, 11, 1)},
        {"next arrow at the last months", QDate(2087, 12, 31),
         [&] { click(cal->nextButtonRect().center()); }, QDate(2087, 11, 1)},
        {"trailing day after the range", QDate(2087, 12, 31),
         [&] { clickDay(QDate(2088, 1, 1)); }, QDate(2087, 11, 1)},
    };
    for (const Case& c : cases) {
        cal->setSelectedDate(c.start);
        QSignalSpy clicks(cal.get(), &MonthCalendar::clicked);
        c.act();
        EXPECT_EQ(cal->selectedDate(), c.start) << c.name;
        EXPECT_EQ(cal->firstVisibleMonth(), c.firstAfter) << c.name;
        EXPECT_EQ(clicks.count(), 0) << c.name;
    }
}

TEST_F(MonthCalendarTest, ArrowStopsAtTheRangeEdge) {
    showAt(gridSize(2, 2));
    cal->setSelectedDate(QDate(1900, 1, 10));
    ASSERT_EQ(cal->firstVisibleMonth(), QDate(1900, 1, 1));
    cal->setSelectedDate(QDate(1900, 6, 10));
    ASSERT_EQ(cal->firstVisibleMonth(), QDate(1900, 3, 1));
    click(cal->previousButtonRect().center());  // four back would show 1899
    EXPECT_EQ(cal->firstVisibleMonth(), QDate(1900, 1, 1));
    EXPECT_EQ(cal->selectedDate(), QDate(1900, 1, 10));
}

TEST_F(MonthCalendarTest, NarrowingTheRangeMovesTheSelectionInside) {
    cal->setSelectedDate(QDate(2020, 5, 5));
    cal->setDateRange(QDate(2021, 1, 1), QDate(2021, 12, 31));
    EXPECT_EQ(cal->selectedDate(), QDate(2021, 1, 1));
    cal->setSelectedDate(QDate(2022, 1, 1));
    EXPECT_EQ(cal->selectedDate(), QDate(2021, 1, 1));
}

// --- quick jump -------------------------------------------------------------

TEST_F(MonthCalendarTest, MonthMenuFromTheTitleJumps) {
    showAt(gridSize(2, 1));
    cal->setSelectedDate(QDate(2021, 1, 31));
    QSignalSpy clicks(cal.get(), &MonthCalendar::clicked);
    // The month part of the second block's title ("2021年2月").
    const QRect title = cal->titleRect(1);
    click(QPoint(title.center().x() + title.width() / 8, title.center().y()));
    auto* menu = cal->findChild<QMenu*>(QStringLiteral("monthMenu"));
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->isVisible());
    ASSERT_EQ(menu->actions().size(), 12);
    EXPECT_EQ(menu->actions()[1]->text(), QStringLiteral("2月"));
    EXPECT_EQ(menu->activeAction(), menu->actions()[1]);
    menu->actions()[5]->trigger();  // June in the second block
    menu->close();
    EXPECT_EQ(cal->firstVisibleMonth(), QDate(2021, 5, 1));
    EXPECT_EQ(cal->selectedDate(), QDate(2021, 5, 31));

    // Keyboard: one down from the current month, then Enter.
    click(QPoint(title.center().x() + title.width() / 8, title.center().y()));
    ASSERT_TRUE(menu->isVisible());
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    EXPECT_EQ(cal->firstVisibleMonth(), QDate(2021, 6, 1));
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(MonthCalendarTest, YearSpinFromTheTitleJumpsAndEscapeCancels) {
    showAt(gridSize(1, 1));
    cal->setSelectedDate(QDate(2021, 3, 15));
    const QRect title = cal->titleRect(0);
    const QPoint year(title.center().x() - title.width() / 8, title.center().y());
    click(year);
    auto* spin = cal->findChild<QSpinBox*>(QStringLiteral("yearSpin"));
    ASSERT_NE(spin, nullptr);
    ASSERT_TRUE(spin->isVisible());
    EXPECT_EQ(spin->value(), 2021);
    EXPECT_EQ(spin->minimum(), 1900);
    EXPECT_EQ(spin->maximum(), 2087);
    QTest::keyClicks(spin, QStringLiteral("1999"));
    QTest::keyClick(spin, Qt::Key_Return);
    EXPECT_FALSE(spin->isVisible());
    EXPECT_EQ(cal->firstVisibleMonth(), QDate(1999, 3, 1));
    EXPECT_EQ(cal->selectedDate(), QDate(1999, 3, 15));

    click(year);
    ASSERT_TRUE(spin->isVisible());
    QTest::keyClick(spin, Qt::Key_Up);
    QTest::keyClick(spin, Qt::Key_Escape);
    EXPECT_FALSE(spin->isVisible());
    EXPECT_EQ(cal->firstVisibleMonth(), QDate(1999, 3, 1));
}

// --- colours ----------------------------------------------------------------

TEST_F(MonthCalendarTest, EachColourPaintsItsPart) {
    showAt(gridSize(1, 1) + QSize(20, 20));
    cal->setSelectedDate(QDate(2021, 3, 15));
    const QColor colors[6] = {QColor(10, 20, 30),   QColor(250, 240, 200), QColor(0, 0, 90),
                              QColor(160, 30, 40), QColor(255, 255, 0),   QColor(90, 160, 90)};
    for (int i = 0; i < 6; ++i) cal->setColor(MonthCalendar::ColorIndex(i), colors[i]);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(cal->color(MonthCalendar::ColorIndex(i)), colors[i]);
    const QImage img = cal->grab().toImage();
    const QRect title = cal->titleRect(0);
    const QRect sel = cal->dayCellRect(QDate(2021, 3, 15));
    EXPECT_EQ(img.pixelColor(2, 2), colors[MonthCalendar::Background]);
    EXPECT_EQ(img.pixelColor(title.topLeft() + QPoint(1, 1)), colors[MonthCalendar::TitleBackground]);
    EXPECT_EQ(img.pixelColor(sel.topLeft()), colors[MonthCalendar::TitleBackground]);
    EXPECT_EQ(img.pixelColor(title.bottomLeft() + QPoint(1, 3)), colors[MonthCalendar::MonthBackground]);

    auto containsColor = [&](const QRect& r, const QColor& c) {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (img.pixelColor(x, y) == c) return true;
        return false;
    };
    EXPECT_TRUE(containsColor(title, colors[MonthCalendar::TitleText]));
    EXPECT_TRUE(containsColor(sel, colors[MonthCalendar::MonthBackground]));
    EXPECT_TRUE(containsColor(cal->dayCellRect(QDate(2021, 3, 16)), colors[MonthCalendar::Text]));
    const QRect trailing = cal->dayCellRect(QDate(2021, 2, 24));
    EXPECT_TRUE(containsColor(trailing, colors[MonthCalendar::TrailingText]));
    EXPECT_FALSE(containsColor(trailing, colors[MonthCalendar::Text]));
}

// Manual viewer: writes screenshots to /tmp for a look with an image viewer.
// Run with --gtest_also_run_disabled_tests.
TEST_F(MonthCalendarTest, DISABLED_WritesScreenshots) {
    masks[11] = (1u << 2) | (1u << 22);
    masks[12] = 1u << 22;
    masks[1] = 1u | (1u << 7);
    recordRequests();
    cal->setSelectedDate(QDate(2000, 11, 15));
    const struct {
        const char* file;
        QSize size;
        int firstDow;
    } shots[] = {
        {"/tmp/mekuri-calendar-default.png", QSize(237, 240), 0},
        {"/tmp/mekuri-calendar-sunday.png", QSize(253, 261), 6},
        {"/tmp/mekuri-calendar-large.png", QSize(474, 400), 0},
        {"/tmp/mekuri-calendar-wide.png", QSize(1200, 700), 6},
    };
    for (const auto& s : shots) {
        cal->setFirstDayOfWeek(s.firstDow);
        showAt(s.size);
        EXPECT_TRUE(cal->grab().save(QString::fromLatin1(s.file)));
    }
}

}  // namespace
}  // namespace mekuri
