#pragma once

// Our month-calendar control: behaves like the native one the program was
// designed around (several month blocks, week numbers, bold days asked per
// month, six colours, a date range, one click notification per mouse click).

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

    void setDateRange(const QDate& min, const QDate& max);
    QDate minimumDate() const;
    QDate maximumDate() const;

    // 0 Monday ... 6 Sunday.
    void setFirstDayOfWeek(int day);
    int firstDayOfWeek() const;

    void setColor(ColorIndex index, const QColor& color);
    QColor color(ColorIndex index) const;

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
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace mekuri
