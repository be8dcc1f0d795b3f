#include "app/tf_splash.h"

#include <QElapsedTimer>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QTimer>

namespace mekuri {

namespace {

constexpr int kShowMs = 600;

std::function<qint64()>& clockHook() {
    static std::function<qint64()> hook;
    return hook;
}

qint64 nowMs() {
    if (clockHook()) return clockHook()();
    static QElapsedTimer steady = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return steady.elapsed();
}

}  // namespace

void TF_SPLASH::setClockForTesting(std::function<qint64()> now) { clockHook() = std::move(now); }

TF_SPLASH::TF_SPLASH(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("F_SPLASH"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("しばらくお待ち下さい．．．"));
    setFixedSize(253, 26);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPixelSize(12);
    setFont(f);

    if (QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kShowMs);
    // A coarse timer may fire up to 5 % early; the window promises 600 ms.
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &TF_SPLASH::Timer1Timer);
}

QPointer<TF_SPLASH> TF_SPLASH::showFor(QWidget* owner) {
    auto* splash = new TF_SPLASH(owner);
    splash->show();
    splash->Timer1->start();
    return splash;
}

void TF_SPLASH::showEvent(QShowEvent* event) {
    m_shownAt = nowMs();
    QWidget::showEvent(event);
}

void TF_SPLASH::Timer1Timer() {
    const qint64 elapsed = nowMs() - m_shownAt;
    if (elapsed < kShowMs) {
        Timer1->start(int(kShowMs - elapsed));  // [1, 600]
        return;
    }
    Timer1->stop();
    close();
}

}  // namespace mekuri
