#include "mycal/page_drawing.h"

#include "dates/date_serial.h"
#include "dates/date_text.h"
#include "platform/command_guard.h"

#include <QCursor>
#include <QGuiApplication>

#include <algorithm>
#include <array>

namespace mekuri {

namespace {

const std::array<QString, 7>& japaneseWeekdays() {
    static const std::array<QString, 7> names{
        QStringLiteral("日"), QStringLiteral("月"), QStringLiteral("火"), QStringLiteral("水"),
        QStringLiteral("木"), QStringLiteral("金"), QStringLiteral("土")};
    return names;
}

const std::array<QString, 7>& englishWeekdays() {
    static const std::array<QString, 7> names{
        QStringLiteral("Sun"), QStringLiteral("Mon"), QStringLiteral("Tue"), QStringLiteral("Wed"),
        QStringLiteral("Thu"), QStringLiteral("Fri"), QStringLiteral("Sat")};
    return names;
}

// Text right-aligned to rightEdge with its cell's top at top.
void textRightAligned(PageCanvas& canvas, int rightEdge, int top, const QString& text) {
    canvas.textOut(rightEdge - canvas.textWidth(text), top, text);
}

// The day number d drawn in its grid cell, in the canvas's current colour;
// holidays and anniversaries overprint the grid this way.
void drawDay(PageCanvas& canvas, const PageLayout& layout, const QDate& first, int day) {
    const DayCell cell = dayCell(first, day);
    textRightAligned(canvas, layout.X0 + cell.column * layout.C, layout.Yh + cell.row * layout.R,
                     QString::number(day));
}

// Sets the override cursor for a page build and restores it however the
// build ends. Without a GUI application (a plain core application) there
// is no cursor to change.
class HourglassCursor {
public:
    HourglassCursor() : m_active(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (m_active) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~HourglassCursor() {
        if (m_active) QGuiApplication::restoreOverrideCursor();
    }
    HourglassCursor(const HourglassCursor&) = delete;
    HourglassCursor& operator=(const HourglassCursor&) = delete;

private:
    bool m_active;
};

}  // namespace

void DrawPage(PageCanvas& canvas, const PageLayout& layout, const PageInputs& in) {
    const int x0 = layout.x0;
    const int y0 = layout.y0;
    const QDate first(in.displayedDate.year(), in.displayedDate.month(), 1);
    const int days = first.daysInMonth();

    // 1-2. Picture area, framed with the canvas's initial pen and brush.
    if (in.frame) canvas.rectangle(x0, y0, x0 + layout.W, y0 + layout.H);

    // 3. Picture, fitted and centred in the area.
    if (in.pictureShown && !in.picture.isNull()) {
        const QRect target = pictureTarget(layout, in.picture.size(), in.pictureRatio);
        if (!target.isEmpty()) canvas.stretchDraw(target, in.picture);
    }

    // 4. Text state.
    canvas.setFontFamily(in.fontFamily);
    canvas.setFontBold(false);
    canvas.setFontColor(Qt::black);

    // 5. Month number, 5 mm in, directly below the picture area.
    canvas.setFontHeight(layout.monthFontHeight);
    canvas.textOut(layout.monthX, layout.Ym, QString::number(first.month()));

    // 6. Yh, R and X0 are measured with these fonts in computePageLayout.
    canvas.setFontHeight(layout.F);

    // 7. Weekday row: Sunday red, the others black.
    const std::array<QString, 7>* names = nullptr;
    if (in.weekdayNotation == 0) names = &japaneseWeekdays();
    if (in.weekdayNotation == 1) names = &englishWeekdays();
    if (names) {
        canvas.setFontHeight(layout.weekdayFontHeight(in.weekdayNotation));
        canvas.setFontColor(Qt::red);
        for (int k = 0; k < 7; ++k) {
            if (k == 1) canvas.setFontColor(Qt::black);
            textRightAligned(canvas, layout.X0 + k * layout.C, layout.Yh, (*names)[size_t(k)]);
        }
    }

    // 8. Day grid, Sunday numbers red.
    canvas.setFontHeight(layout.F);
    for (int d = 1; d <= days; ++d) {
        canvas.setFontColor(dayCell(first, d).column == 0 ? QColor(Qt::red) : QColor(Qt::black));
        drawDay(canvas, layout, first, d);
    }

    // 9. Holidays of the month, from the first HolidaySlotCount slots.
    canvas.setFontColor(Qt::red);
    const int slotCount = std::clamp(in.holidaySlotCount, 0, int(in.holidays.size()));
    for (int s = 0; s < slotCount; ++s) {
        const qint32 d = in.holidays[size_t(s)];
        if (d >= 1 && d <= days) drawDay(canvas, layout, first, int(d));
    }

    // 10. Anniversaries of this month of this year, drawn last.
    if (in.anniversariesShown) {
        canvas.setFontColor(in.anniversaryColor);
        for (const QString& item : in.anniversaries) {
            const std::optional<DateSerial> date = ParseDateText(item);
            if (!date) {
                throw CommandError(QStringLiteral("記念日「%1」は正しい日付ではありません。").arg(item));
            }
            const CivilDate c = date->civil();
            if (c.year == first.year() && c.month == first.month()) drawDay(canvas, layout, first, c.day);
        }
    }
}

void recordPage(PageRecorder& recorder, const PageInputs& inputs, const PrinterPageMetrics& metrics) {
    HourglassCursor cursor;
    const PageLayout layout = computePageLayout(metrics, inputs);
    recorder.BeginDoc(metrics);
    try {
        DrawPage(recorder.GetCanvas(), layout, inputs);
    } catch (...) {
        recorder.EndDoc();
        throw;
    }
    recorder.EndDoc();
}

std::shared_ptr<const RecordedPage> recordPage(const PageInputs& inputs, const PrinterPageMetrics& metrics) {
    PageRecorder recorder;
    recordPage(recorder, inputs, metrics);
    return recorder.GetPage(0);
}

}  // namespace mekuri
