// The please-wait window: its form, and that it closes at the first timer
// event at least 600 ms after it was shown, staying up while the thread is busy.
#include "app/tf_splash.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QTimer>

namespace mekuri {
namespace {

void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

class SplashTest : public ::testing::Test {
protected:
    void TearDown() override {
        TF_SPLASH::setClockForTesting(nullptr);
        if (m_splash) delete m_splash.data();
    }
    QPointer<TF_SPLASH> m_splash;
};

TEST_F(SplashTest, FormAsCreated) {
    QWidget owner;
    TF_SPLASH splash(&owner);
    EXPECT_EQ(splash.windowTitle(), QStringLiteral("しばらくお待ち下さい．．．"));
    EXPECT_EQ(splash.size(), QSize(253, 26));
    EXPECT_EQ(splash.minimumSize(), splash.maximumSize());
    EXPECT_TRUE(splash.isWindow());
    const Qt::WindowFlags flags = splash.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
    EXPECT_EQ(splash.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(splash.autoFillBackground());
    EXPECT_EQ(splash.font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(splash.font().pixelSize(), 12);
    EXPECT_TRUE(splash.findChildren<QWidget*>().isEmpty());
    ASSERT_NE(splash.Timer1, nullptr);
    EXPECT_EQ(splash.Timer1->interval(), 600);
    EXPECT_FALSE(splash.Timer1->isActive());
    const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((splash.geometry().center() - screenCentre).manhattanLength(), 2);
}

TEST_F(SplashTest, ShowForShowsOverTheOwnerAndArmsTheTimer) {
    QWidget owner;
    m_splash = TF_SPLASH::showFor(&owner);
    ASSERT_TRUE(m_splash);
    EXPECT_TRUE(m_splash->isVisible());
    EXPECT_EQ(m_splash->parentWidget(), &owner);
    EXPECT_TRUE(m_splash->Timer1->isActive());
}

// With a fake clock: a timer event before 600 ms since showing leaves the
// window up and re-arms for the rest; from 600 ms on it closes and releases it.
TEST_F(SplashTest, TimerEventClosesOnlyFrom600MsAfterShowing) {
    struct Case {
        const char* name;
        qint64 elapsed;
        bool closes;
    } cases[] = {
        {"at once", 0, false},
        {"one millisecond short", 599, false},
        {"exactly 600 ms", 600, true},
        {"long after (a slow preview)", 5000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qint64 now = 1000;
        TF_SPLASH::setClockForTesting([&now] { return now; });
        m_splash = TF_SPLASH::showFor(nullptr);
        now += c.elapsed;
        m_splash->Timer1Timer();
        flushDeletes();
        if (c.closes) {
            EXPECT_TRUE(m_splash.isNull());
        } else {
            ASSERT_FALSE(m_splash.isNull());
            EXPECT_TRUE(m_splash->isVisible());
            EXPECT_TRUE(m_splash->Timer1->isActive());
            EXPECT_EQ(m_splash->Timer1->interval(), 600 - c.elapsed);
            now += 600 - c.elapsed;
            m_splash->Timer1Timer();
            flushDeletes();
            EXPECT_TRUE(m_splash.isNull());
        }
        TF_SPLASH::setClockForTesting(nullptr);
    }
}

// Real clock: work that blocks the thread for a second keeps the window up;
// the first turn of the event loop afterwards closes it.
TEST_F(SplashTest, StaysUpWhileTheThreadIsBusyAndClosesAtTheNextEventTurn) {
    m_splash = TF_SPLASH::showFor(nullptr);
    QThread::msleep(1000);
    ASSERT_FALSE(m_splash.isNull());
    EXPECT_TRUE(m_splash->isVisible());
    QCoreApplication::processEvents();
    flushDeletes();
    EXPECT_TRUE(m_splash.isNull());
}

}  // namespace
}  // namespace mekuri
