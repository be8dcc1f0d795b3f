// The recorded My Calendar page: what is drawn where, in which colour.
#include "mycal/page_drawing.h"

#include "platform/command_guard.h"
#include "platform/fonts.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QPainter>

#include <map>

using namespace mekuri;

namespace {

PrinterPageMetrics metrics600() {
    PrinterPageMetrics m;
    m.PaperWidth = 4960;
    m.PaperHeight = 7016;
    m.OffsetX = 100;
    m.OffsetY = 100;
    m.PrintableWidth = 4760;
    m.PrintableHeight = 6816;
    m.PixelsPerInchX = m.PixelsPerInchY = 600;
    m.BottomUnprintable = 100;
    m.RightUnprintable = 100;
    return m;
}

PageInputs inputsFor(int year, int month) {
    PageInputs in;
    in.displayedDate = QDate(year, month, 15);
    in.fontFamily = QStringLiteral("IPAGothic");
    in.pictureShown = false;
    in.anniversaryColor = QColor(0, 0, 255);
    return in;
}

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);
const QColor kBlue(0, 0, 255);

class PageDrawingTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installFontSubstitutions(); }

    void record(const PageInputs& in) {
        m_inputs = in;
        m_layout = computePageLayout(metrics600(), in);
        m_page = recordPage(in, metrics600());
    }

    // Texts of the day grid (and its overprints), in drawing order.
    std::vector<PageTextOp> dayTexts() const {
        std::vector<PageTextOp> out;
        for (const PageTextOp& t : m_page->texts()) {
            if (t.font.cellHeight == m_layout.F && t.topLeft.y() > m_layout.Yh) out.push_back(t);
        }
        return out;
    }
    // The final colour of each day number: the last one drawn wins.
    std::map<int, QColor> finalColours() const {
        std::map<int, QColor> out;
        for (const PageTextOp& t : dayTexts()) out[t.text.toInt()] = t.font.color;
        return out;
    }
    int drawCount(int day) const {
        int n = 0;
        for (const PageTextOp& t : dayTexts()) n += t.text == QString::number(day);
        return n;
    }
    // Where the grid puts day d: right edge and top.
    QPoint cellAnchor(int column, int row) const {
        return QPoint(m_layout.X0 + column * m_layout.C, m_layout.Yh + row * m_layout.R);
    }
    const PageTextOp* firstDayText(int day) const {
        static PageTextOp found;
        for (const PageTextOp& t : dayTexts()) {
            if (t.text == QString::number(day)) {
                found = t;
                return &found;
            }
        }
        return nullptr;
    }
    std::vector<PageTextOp> weekdayTexts() const {
        std::vector<PageTextOp> out;
        for (const PageTextOp& t : m_page->texts()) {
            if (t.topLeft.y() == m_layout.Yh) out.push_back(t);
        }
        return out;
    }

    PageInputs m_inputs;
    PageLayout m_layout;
    std::shared_ptr<const RecordedPage> m_page;
};

struct MonthCase {
    const char* name;
    int year, month;
    int rows;  // grid rows the month occupies
    struct Cell {
        int day, column, row;
    } cells[3];
};

}  // namespace

TEST_F(PageDrawingTest, MonthsFillTheirGridCells) {
    const MonthCase cases[] = {
        {"September 2019, 1st on a Sunday", 2019, 9, 5, {{1, 0, 1}, {7, 6, 1}, {30, 1, 5}}},
        {"April 2019, 1st on a Monday", 2019, 4, 5, {{1, 1, 1}, {6, 6, 1}, {7, 0, 2}}},
        {"August 2020, six rows", 2020, 8, 6, {{1, 6, 1}, {30, 0, 6}, {31, 1, 6}}},
        {"February 2015, four rows", 2015, 2, 4, {{1, 0, 1}, {22, 0, 4}, {28, 6, 4}}},
    };
    for (const MonthCase& c : cases) {
        record(inputsFor(c.year, c.month));
        const auto days = dayTexts();
        ASSERT_EQ(int(days.size()), QDate(c.year, c.month, 1).daysInMonth()) << c.name;
        int lowest = 0;
        for (const PageTextOp& t : days) lowest = std::max(lowest, t.topLeft.y());
        EXPECT_EQ(lowest, cellAnchor(0, c.rows).y()) << c.name;
        for (const auto& cell : c.cells) {
            const PageTextOp* t = firstDayText(cell.day);
            ASSERT_NE(t, nullptr) << c.name << " day " << cell.day;
            const QPoint anchor = cellAnchor(cell.column, cell.row);
            EXPECT_EQ(t->topLeft.x() + t->width, anchor.x()) << c.name << " day " << cell.day;
            EXPECT_EQ(t->topLeft.y(), anchor.y()) << c.name << " day " << cell.day;
        }
    }
}

TEST_F(PageDrawingTest, SundaysRedSaturdaysBlack) {
    record(inputsFor(2019, 9));  // Sundays 1, 8, 15, 22, 29; Saturdays 7, 14, 21, 28
    const auto colours = finalColours();
    for (int d : {1, 8, 15, 22, 29}) EXPECT_EQ(colours.at(d), kRed) << d;
    for (int d : {7, 14, 21, 28, 2, 30}) EXPECT_EQ(colours.at(d), kBlack) << d;
}

TEST_F(PageDrawingTest, HolidaysOverprintInRedAndBadSlotsPrintNothing) {
    PageInputs in = inputsFor(2019, 4);  // 30 days
    in.holidaySlotCount = 10;
    in.holidays = {29, 0, 32, -1, 31, 30, 0, 0, 0, 0};
    record(in);
    EXPECT_EQ(dayTexts().size(), 30u + 2u);  // 29 and 30 drawn once more
    EXPECT_EQ(drawCount(29), 2);
    EXPECT_EQ(drawCount(30), 2);
    EXPECT_EQ(drawCount(31), 0);
    EXPECT_EQ(finalColours().at(29), kRed);
    EXPECT_EQ(finalColours().at(30), kRed);
    // The overprint lands exactly on the grid's number.
    const auto days = dayTexts();
    EXPECT_EQ(days[28].topLeft, days[30].topLeft);
}

TEST_F(PageDrawingTest, OnlyTheFirstHolidaySlotCountSlotsCount) {
    PageInputs in = inputsFor(2019, 4);
    in.holidaySlotCount = 4;
    in.holidays = {29, 0, 0, 0, 10, 0, 0, 0, 0, 0};
    record(in);
    EXPECT_EQ(finalColours().at(29), kRed);
    EXPECT_EQ(finalColours().at(10), kBlack);
    EXPECT_EQ(drawCount(10), 1);
}

TEST_F(PageDrawingTest, AnniversariesOfThisMonthAndYearInTheirColourDrawnLast) {
    PageInputs in = inputsFor(2019, 4);
    in.holidaySlotCount = 4;
    in.holidays = {29, 0, 0, 0};
    in.anniversaries = {QStringLiteral("2019/04/29"), QStringLiteral("2018/04/10"),
                        QStringLiteral("2019/05/10"), QStringLiteral("2019/04/07")};
    record(in);
    const auto colours = finalColours();
    EXPECT_EQ(colours.at(29), kBlue);  // holiday and anniversary: the anniversary wins
    EXPECT_EQ(colours.at(7), kBlue);   // also over a red Sunday
    EXPECT_EQ(colours.at(10), kBlack);  // other year, other month: not printed
    EXPECT_EQ(drawCount(10), 1);
    EXPECT_EQ(dayTexts().back().text, QStringLiteral("7"));
}

TEST_F(PageDrawingTest, AnniversariesSwitchedOffPrintNothing) {
    PageInputs in = inputsFor(2019, 4);
    in.anniversaries = {QStringLiteral("2019/04/10")};
    in.anniversariesShown = false;
    record(in);
    EXPECT_EQ(finalColours().at(10), kBlack);
    EXPECT_EQ(drawCount(10), 1);
}

TEST_F(PageDrawingTest, ABadAnniversaryStopsTheBuildWithWhatWasDrawn) {
    PageInputs in = inputsFor(2019, 4);
    in.anniversaries = {QStringLiteral("2019/04/10"), QStringLiteral("2019/13/40"), QStringLiteral("2019/04/11")};
    PageRecorder recorder;
    QString message;
    try {
        recordPage(recorder, in, metrics600());
    } catch (const CommandError& e) {
        message = e.message();
    }
    EXPECT_TRUE(message.contains(QStringLiteral("2019/13/40"))) << message.toStdString();
    EXPECT_FALSE(recorder.Printing());  // the recording was ended
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);  // the cursor came back
    ASSERT_EQ(recorder.PageCount(), 1);
    const auto texts = recorder.GetPage(0)->texts();
    EXPECT_EQ(texts.back().text, QStringLiteral("10"));
    EXPECT_EQ(texts.back().font.color, kBlue);
}

TEST_F(PageDrawingTest, TheCursorIsRestoredAfterABuild) {
    record(inputsFor(2019, 4));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(PageDrawingTest, WeekdayRowJapaneseAndEnglish) {
    struct Case {
        int notation;
        QStringList names;
        int height;
    } cases[] = {
        {0, {"日", "月", "火", "水", "木", "金", "土"}, 245},
        {1, {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}, 184},
    };
    for (const Case& c : cases) {
        PageInputs in = inputsFor(2019, 4);
        in.fontSize = 13;
        in.weekdayNotation = c.notation;
        record(in);
        const auto row = weekdayTexts();
        ASSERT_EQ(row.size(), 7u) << c.notation;
        for (int k = 0; k < 7; ++k) {
            EXPECT_EQ(row[k].text, c.names[k]);
            EXPECT_EQ(row[k].font.cellHeight, c.height);
            EXPECT_EQ(row[k].topLeft.x() + row[k].width, m_layout.X0 + k * m_layout.C);
            EXPECT_EQ(row[k].font.color, k == 0 ? kRed : kBlack) << k;
        }
    }
}

TEST_F(PageDrawingTest, OtherNotationsDrawNoWeekdayRowAndMoveNothing) {
    PageInputs in = inputsFor(2019, 4);
    record(in);
    const auto withRow = m_page->texts();
    for (int notation : {5, -1, 2}) {
        in.weekdayNotation = notation;
        record(in);
        EXPECT_TRUE(weekdayTexts().empty()) << notation;
        const auto texts = m_page->texts();
        ASSERT_EQ(texts.size() + 7, withRow.size());
        EXPECT_EQ(texts[0].topLeft, withRow[0].topLeft);  // month number
        EXPECT_EQ(texts.back().topLeft, withRow.back().topLeft);  // last day
    }
}

TEST_F(PageDrawingTest, MonthNumberBelowThePictureArea) {
    record(inputsFor(2020, 12));
    const auto texts = m_page->texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0].text, QStringLiteral("12"));
    EXPECT_EQ(texts[0].topLeft, QPoint(m_layout.x0 + 118, m_layout.y0 + m_layout.H));
    EXPECT_EQ(texts[0].font.cellHeight, m_layout.monthFontHeight);
    EXPECT_EQ(texts[0].font.color, kBlack);
    EXPECT_FALSE(texts[0].font.bold);
    EXPECT_EQ(texts[0].font.family, QStringLiteral("IPAGothic"));
}

TEST_F(PageDrawingTest, ColumnPitchZeroStacksAllColumns) {
    PageInputs in = inputsFor(2019, 4);
    in.columnPitch = 0;
    record(in);
    for (const PageTextOp& t : dayTexts()) EXPECT_EQ(t.topLeft.x() + t.width, m_layout.X0) << t.text.toStdString();
    for (const PageTextOp& t : weekdayTexts()) EXPECT_EQ(t.topLeft.x() + t.width, m_layout.X0);
}

TEST_F(PageDrawingTest, FrameAndPicture) {
    PageInputs in = inputsFor(2019, 4);
    in.frame = true;
    in.pictureShown = true;
    in.picture = QImage(1600, 900, QImage::Format_RGB888);
    in.picture.fill(Qt::green);
    record(in);
    const auto rects = m_page->rects();
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].rect, QRect(m_layout.x0, m_layout.y0, m_layout.W, m_layout.H));
    EXPECT_EQ(rects[0].pen.color(), kBlack);
    EXPECT_EQ(rects[0].pen.width(), 1);
    EXPECT_EQ(rects[0].brush.color(), QColor(Qt::white));
    const auto images = m_page->images();
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].target, pictureTarget(m_layout, QSize(1600, 900), 100));
    EXPECT_EQ(images[0].image.constBits(), in.picture.constBits());
    // Frame first, then picture, then the texts.
    EXPECT_TRUE(std::holds_alternative<PageRectOp>(m_page->ops()[0]));
    EXPECT_TRUE(std::holds_alternative<PageImageOp>(m_page->ops()[1]));

    in.frame = false;
    in.pictureShown = false;
    record(in);
    EXPECT_TRUE(m_page->rects().empty());
    EXPECT_TRUE(m_page->images().empty());
}

TEST_F(PageDrawingTest, FramedFullWidthPictureKeepsTopAndBottomFrameLines) {
    PrinterPageMetrics m;
    m.PaperWidth = m.PrintableWidth = 400;
    m.PaperHeight = m.PrintableHeight = 560;
    m.PixelsPerInchX = m.PixelsPerInchY = 254;  // 10 px per mm
    PageInputs in = inputsFor(2019, 4);
    in.leftMargin = 4;  // L 40, W 320, H 240
    in.topMargin = 4;
    in.fontSize = 3;
    in.pictureShown = true;
    in.picture = QImage(4, 3, QImage::Format_RGB888);
    in.picture.fill(Qt::green);
    const auto page = recordPage(in, m);
    const QImage img = page->render(page->size());
    const QColor green(0, 255, 0);
    EXPECT_EQ(img.pixelColor(200, 40), kBlack);   // top frame line
    EXPECT_EQ(img.pixelColor(200, 279), kBlack);  // bottom frame line
    EXPECT_EQ(img.pixelColor(200, 41), green);
    EXPECT_EQ(img.pixelColor(200, 278), green);
    EXPECT_EQ(img.pixelColor(40, 150), green);  // the picture covers the side lines
    EXPECT_EQ(img.pixelColor(359, 150), green);
}

// Renders a page for a look by eye: MEKURI_PAGE_PNG=path writes it there.
TEST_F(PageDrawingTest, RendersACleanPage) {
    PageInputs in = inputsFor(2019, 5);
    in.fontFamily = QStringLiteral("ＭＳ Ｐ明朝");
    in.holidaySlotCount = 10;
    in.holidays = {1, 3, 4, 5, 6, 0, 0, 0, 0, 0};
    in.anniversaries = {QStringLiteral("2019/05/20"), QStringLiteral("2019/05/05")};
    in.anniversaryColor = QColor(0, 128, 0);
    in.pictureShown = true;
    QImage picture(1600, 900, QImage::Format_RGB888);
    QPainter p(&picture);
    QLinearGradient g(0, 0, 0, 900);
    g.setColorAt(0, QColor(120, 170, 230));
    g.setColorAt(1, QColor(240, 220, 180));
    p.fillRect(picture.rect(), g);
    p.setBrush(QColor(60, 120, 60));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPoint(500, 1100), 900, 500);
    p.end();
    in.picture = picture;
    const PrinterPageMetrics m = metrics600();
    record(in);
    const QImage img = m_page->render(QSize(m.PrintableWidth / 6, m.PrintableHeight / 6));
    ASSERT_FALSE(img.isNull());
    // Something of every colour made it onto the image.
    bool red = false, green = false;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            red |= c.red() > 200 && c.green() < 80 && c.blue() < 80;
            green |= c.green() > 100 && c.red() < 60 && c.blue() < 60 && y > img.height() / 2;
        }
    }
    EXPECT_TRUE(red);
    EXPECT_TRUE(green);
    const QString out = qEnvironmentVariable("MEKURI_PAGE_PNG");
    if (!out.isEmpty()) EXPECT_TRUE(img.save(out));
}
