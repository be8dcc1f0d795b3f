#pragma once

// Answers a modal window from inside its own event loop: fn runs on the next
// modal window of type W once it is shown.

#include <QApplication>
#include <QTimer>

#include <functional>

namespace mekuri::test {

template <typename W>
void whenModal(std::function<void(W&)> fn) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, fn] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!w) return;
        timer->stop();
        timer->deleteLater();
        fn(*w);
    });
    timer->start();
}

}  // namespace mekuri::test
