// The floor for the start-up benchmark: a Qt program that does nothing but show one small
// frameless tool window (the kind of window a tab is) and wait. Its start-up time and memory are
// what any Qt Widgets program pays before it does work of its own.
//     bare_window

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    window.resize(128, 40);
    window.show();
    return app.exec();
}
