#pragma once

// The please-wait window F_SPLASH: shown while the My Calendar preview is
// prepared on the user-interface thread. Its timer can only fire once the
// thread handles events again, so the window stays up during the work and
// goes away at the first timer event at least 600 ms after it was shown.

#include <QPointer>
#include <QWidget>

#include <functional>

class QTimer;

namespace mekuri {

class TF_SPLASH : public QWidget {
    Q_OBJECT

public:
    // Created hidden, with Timer1 disabled.
    explicit TF_SPLASH(QWidget* owner);

    // What the creator does: create with owner, show without waiting, enable
    // Timer1. The window releases itself; the pointer turns null then.
    static QPointer<TF_SPLASH> showFor(QWidget* owner);

    // Milliseconds of a steady clock; tests replace it (nullptr restores).
    static void setClockForTesting(std::function<qint64()> nowMs);

    QTimer* Timer1 = nullptr;

public slots:
    // Closes and releases the window, unless it came early: a timer that
    // fires before 600 ms have passed since showing is re-armed for the rest.
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;

private:
    qint64 m_shownAt = 0;
};

}  // namespace mekuri
