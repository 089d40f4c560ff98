// A stand-in for a file manager in the real-window tests: a small window that drags the files
// named on its command line when the left button is pressed on it and moved. It prints the effect
// the effect of the drag ("copy", "move", "link" or "none") and ends 3 seconds after the drop. It
// never deletes the files itself: Qt's drag returns the effect the target offered while dragging,
// not the one it reports with the drop, so a source deleting after "move" could race the target.
//
// Usage: drag_source X Y FILE...   (the window's top-left corner on the screen)
#include <cstdio>

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

class DragSource : public QWidget {
public:
    explicit DragSource(QStringList files) : m_files(std::move(files)) {
        setWindowTitle(QStringLiteral("drag source"));
        setFixedSize(160, 160);
        setStyleSheet(QStringLiteral("background: #4060a0"));
    }

protected:
    void mousePressEvent(QMouseEvent* event) override { m_origin = event->position().toPoint(); }

    void mouseMoveEvent(QMouseEvent* event) override {
        if (!(event->buttons() & Qt::LeftButton) || m_dragged ||
            (event->position().toPoint() - m_origin).manhattanLength() < QApplication::startDragDistance())
            return;
        m_dragged = true;
        auto* data = new QMimeData;
        QList<QUrl> urls;
        for (const QString& file : std::as_const(m_files))
            urls.append(QUrl::fromLocalFile(file));
        data->setUrls(urls);
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction);
        const char* name = action == Qt::CopyAction   ? "copy"
                           : action == Qt::MoveAction ? "move"
                           : action == Qt::LinkAction ? "link"
                                                      : "none";
        std::printf("%s\n", name);
        std::fflush(stdout);
        // A drop target may still ask for the data after the drag has ended, as a file manager
        // would answer it: stay a little longer.
        QTimer::singleShot(3000, qApp, &QApplication::quit);
    }

private:
    QStringList m_files;
    QPoint m_origin;
    bool m_dragged = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 4) {
        std::fprintf(stderr, "usage: drag_source X Y FILE...\n");
        return 2;
    }
    DragSource window(arguments.mid(3));
    window.move(arguments.at(1).toInt(), arguments.at(2).toInt());
    window.show();
    return app.exec();
}
