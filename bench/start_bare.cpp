// The start-up baseline: a bare Qt Widgets program with a main window, a
// calendar and a status bar; the first paint probe ends it at first paint.
#include <QApplication>
#include <QCalendarWidget>
#include <QMainWindow>
#include <QStatusBar>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QCalendarWidget(&window));
    window.statusBar()->showMessage(QStringLiteral("ready"));
    window.resize(253, 306);
    window.show();
    return app.exec();
}
