#include "first_paint_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace mekuri::bench {

namespace {

class FirstPaintProbe : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_seen && event->type() == QEvent::Paint) {
            auto* widget = qobject_cast<QWidget*>(watched);
            // The window itself gets no paint event when its children
            // cover it, so the first paint of any widget of a shown window
            // counts; the rest of the window paints and the backing store
            // flushes in the same pass, and the zero timer fires after it.
            if (widget && widget->window()->isVisible()) {
                m_seen = true;
                QTimer::singleShot(0, [] {
                    std::fputs("painted\n", stdout);
                    std::fflush(stdout);
                    // No teardown: only the start is measured.
                    _exit(0);
                });
            }
        }
        return false;
    }

private:
    bool m_seen = false;
};

}  // namespace

void installFirstPaintProbe() {
    QCoreApplication::instance()->installEventFilter(new FirstPaintProbe(QCoreApplication::instance()));
}

}  // namespace mekuri::bench

namespace {
void installProbeAtStart() { mekuri::bench::installFirstPaintProbe(); }
}  // namespace

// Runs as soon as the program's QApplication exists.
Q_COREAPP_STARTUP_FUNCTION(installProbeAtStart)
