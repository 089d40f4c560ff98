// Shows the splash alone, to look at it on a real display:
//
//   show_splash [--backdrop] CLIP.avi
//
// --backdrop first fills the screen with a checked window, so that see-through pixels of the
// splash show the checks. A clip that cannot be opened shows the empty splash and the error
// report.

#include <cstdio>

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include "core/application.h"
#include "ui/loading_window.h"

namespace {

class Backdrop : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        for (int y = 0; y < height(); y += 16) {
            for (int x = 0; x < width(); x += 16)
                painter.fillRect(x, y, 16, 16,
                                 (x + y) / 16 % 2 ? QColor(200, 120, 60) : QColor(240, 220, 180));
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    const bool backdrop = argc == 3 && QByteArrayView(argv[1]) == "--backdrop";
    if (argc != 2 && !backdrop) {
        std::fprintf(stderr, "usage: show_splash [--backdrop] CLIP.avi\n");
        return 2;
    }
    KelvaraApplication app(argc, argv);
    Backdrop checks;
    if (backdrop) {
        checks.setWindowFlags(Qt::FramelessWindowHint);
        checks.setGeometry(QGuiApplication::primaryScreen()->geometry());
        checks.show();
    }
    TfrmLoading splash(QString::fromLocal8Bit(argv[argc - 1]));
    return app.exec();
}
