#pragma once

// Our month-calendar control: behaves like the native one the program was
// designed around (several month blocks, week numbers, bold days asked per
// month, six colours, a date range, one click notification per mouse click).
//
// Layout: as many blocks as fit (6 px apart, at most 12), centred. A block is
// a title (1.5 rows), a weekday header with a line beneath, and six week rows
// of seven day cells, with a week-number column at the left. Only the first
// block shows the days of the month before, only the last the days after.

#include <QColor>
#include <QDate>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QTimer;

namespace mekuri {

class MonthCalendar : public QWidget {
    Q_OBJECT

public:
    enum ColorIndex {
        Background = 0,       // area between and around the month blocks
        MonthBackground = 1,  // inside a month block
        Text = 2,             // day numbers
        TitleBackground = 3,  // titles, weekday header text, week numbers, selection
        TitleText = 4,        // title text
        TrailingText = 5,     // days of neighbouring months
    };

    // Answers the bold-day request for one month (1 to 12, no year): bit d-1
    // set means day d is drawn bold.
    using MonthInfoHandler = std::function<quint32(int month)>;

    explicit MonthCalendar(QWidget* parent = nullptr);
    ~MonthCalendar() override;

    QDate selectedDate() const;
    // Selects date (refused outside the range) and scrolls to show it. Fires
    // no click notification.
    void setSelectedDate(const QDate& date);

    // Default 1900-01-01 to 2087-12-31. A selection outside the new range is
    // moved to its nearest end. Ignored unless min <= max, from the year 100.
    void setDateRange(const QDate& min, const QDate& max);
    QDate minimumDate() const;
    QDate maximumDate() const;

    // 0 Monday ... 6 Sunday.
    void setFirstDayOfWeek(int day);
    int firstDayOfWeek() const;

    void setColor(ColorIndex index, const QColor& color);
    QColor color(ColorIndex index) const;

    // On by default: the program always shows them.
    void setWeekNumbers(bool on);
    bool weekNumbers() const;

    // Installs the bold-day handler and asks it again for every month shown.
    void setMonthInfoHandler(MonthInfoHandler handler);
    // Asks the handler again (for example after the table changed).
    void refreshMonthInfo();

    // Layout facts, for the window and tests.
    QSize monthBlockSize() const;  // one block, in pixels
    int columns() const;
    int rows() const;
    int visibleMonthCount() const;
    QDate firstVisibleMonth() const;  // the 1st of the first block's month
    // Rectangle of a visible day cell in widget coordinates (empty if not shown).
    QRect dayCellRect(const QDate& date) const;
    // The bold mask currently held for a shown month (for tests).
    quint32 boldMaskFor(int year, int month) const;
    // Whether date is drawn bold (its month's mask has its bit set).
    bool isDayBold(const QDate& date) const;
    // Rectangles of block's title and of the two scroll arrows, in widget
    // coordinates.
    QRect titleRect(int block) const;
    QRect previousButtonRect() const;
    QRect nextButtonRect() const;
    // Week number drawn in row 0..5 of block, 0 when that row shows no day.
    int weekNumberShown(int block, int row) const;

    // Week of date under the Japanese rule: week 1 holds 1 January, weeks
    // begin on firstDayOfWeek (0 Monday ... 6 Sunday). Range [1, 54].
    static int weekNumber(const QDate& date, int firstDayOfWeek);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // After a mouse click on a day has moved the selection, once per click.
    void clicked();
    // Whenever the selection changes, by any means.
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace mekuri
