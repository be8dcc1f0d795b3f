#pragma once

// The My Calendar page's inputs and its layout. The windows fill PageInputs
// from their controls (settings window, preview tool bar, selected date);
// computePageLayout turns them and the printer's metrics into every position
// and height the page is drawn with, so the layout is testable without any
// window. All quantities are printer pixels; every conversion truncates.

#include "holidays/holiday_table.h"
#include "platform/printer.h"

#include <QColor>
#include <QDate>
#include <QImage>
#include <QString>
#include <QStringList>

#include <array>

namespace mekuri {

struct PageInputs {
    QDate displayedDate;           // the page shows this date's month of its year
    bool frame = true;             // CHK_FRAME
    bool pictureShown = true;      // CHK_PIC_DISP
    int weekdayNotation = 0;       // RDO_YOUBI: 0 Japanese, 1 English, else no weekday row
    bool anniversariesShown = true;  // CHK_KINEN_ON
    QColor anniversaryColor = Qt::black;  // text colour of LBL_KINEN_CLR
    QStringList anniversaries;     // lines of ListBox1, in list order
    int leftMargin = 17;           // UD_LEFT, mm
    int topMargin = 20;            // UD_TOP, mm
    int pictureRatio = 100;        // UD_HIRITU, percent
    QString fontFamily;            // CBO_FONT
    int fontSize = 13;             // UD_FONT_SIZE, mm (cell height of the day numbers)
    int columnPitch = 27;          // UD_MOJIKAN, mm
    int lineSpacing = 4;           // UD_GYOKAN, mm
    std::array<qint32, 10> holidays{};  // the displayed month's row of HolidayTable
    int holidaySlotCount = 4;      // HolidaySlotCount
    QImage picture;                // the page picture; may be null
};

// Fills holidays and holidaySlotCount from the row of table for the month of
// inputs.displayedDate (which must be set).
void setHolidays(PageInputs& inputs, const HolidayTable& table);

// n millimetres at dpi dots per inch: trunc(n * dpi / 25.4), computed exactly.
int mmToPixels(int mm, int dpi);

struct PageLayout {
    int L = 0;   // left (and right) margin across
    int T = 0;   // top margin down
    int W = 0;   // content width: PaperWidth - 2L
    int x0 = 0;  // content origin on the page: L - OffsetX
    int y0 = 0;  //                             T - OffsetY
    int H = 0;   // picture area height: (3W) div 4
    int F = 0;   // day font height
    int monthFontHeight = 0;             // trunc(F * 1.6)
    int japaneseWeekdayFontHeight = 0;   // trunc(F * 0.8)
    int englishWeekdayFontHeight = 0;    // trunc(F * 0.6)
    int monthX = 0;  // left of the month number: x0 + 5 mm
    int Ym = 0;  // top of the month number: y0 + H
    int Yh = 0;  // top of the weekday row: Ym + height of "1" at the month font height
    int C = 0;   // column pitch
    int R = 0;   // row pitch: height of "1" at F + line spacing
    int X0 = 0;  // right edge of the Sunday column: x0 + width of "88" at F

    // The weekday font height for notation 0 or 1; 0 for any other.
    int weekdayFontHeight(int notation) const;
};

// The layout of the page for the metrics of the printer and the inputs.
PageLayout computePageLayout(const PrinterPageMetrics& metrics, const PageInputs& inputs);

// Where the picture goes inside the picture area, page pixels, or an empty
// rectangle when nothing is to be drawn (no picture, empty area).
QRect pictureTarget(const PageLayout& layout, QSize pictureSize, int pictureRatio);

// Cell of day d (1..days of month) of the grid: column 0 (Sunday) to 6, row
// 1 to 6 counted from the first row below the weekday row (the row that
// holds the 1st is row 1).
struct DayCell {
    int column = 0;
    int row = 0;
};
DayCell dayCell(const QDate& firstOfMonth, int day);

}  // namespace mekuri
