// The floor for the start-up benchmark: a Qt program that shows N windows of the least a closed
// tab needs (a frameless tool window, shaped by a mask, with a caption painted in the default
// font) along the bottom edge of the screen, and waits. Its start-up time and memory are what any
// Qt Widgets program pays for that many windows before it does work of its own.
//     bare_window [N]        (default 1)

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include <QApplication>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QWidget>

namespace {

// As large as a closed tab of the default skin, and as far apart.
constexpr int kWidth = 128;
constexpr int kHeight = 40;
constexpr int kPitch = 140;

class CaptionWindow : public QWidget {
public:
    explicit CaptionWindow(int number)
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint),
          m_caption(QStringLiteral("Tab %1").arg(number)) {
        resize(kWidth, kHeight);
        // A rounded head: the window's shape leaves out the top corners.
        QRegion shape(0, 0, kWidth, kHeight);
        shape -= QRegion(0, 0, 6, 6);
        shape -= QRegion(kWidth - 6, 0, 6, 6);
        shape += QRegion(0, 0, 12, 12, QRegion::Ellipse);
        shape += QRegion(kWidth - 12, 0, 12, 12, QRegion::Ellipse);
        setMask(shape);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0x3c, 0x6e, 0xb4));
        painter.setPen(Qt::white);
        painter.drawText(rect(), Qt::AlignCenter, m_caption);
    }

private:
    QString m_caption;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    std::vector<std::unique_ptr<CaptionWindow>> windows;
    windows.reserve(count);
    for (int i = 0; i < count; ++i) {
        auto window = std::make_unique<CaptionWindow>(i + 1);
        window->move(screen.left() + i * kPitch, screen.bottom() + 1 - kHeight);
        windows.push_back(std::move(window));
    }
    for (const auto& window : windows)
        window->show();
    return app.exec();
}
