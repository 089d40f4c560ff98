// Time from a file dropped on a tab to the tab drawn with its new item, on the first tab of a
// program folder: a real QDragEnterEvent / QDragMoveEvent / QDropEvent sequence is sent to the
// tab window; the drop writes the new shortcut and its order-file line and rebuilds the tab set,
// and the new first tab window is painted. The dropped item is removed again after every run, so
// every run starts from the same tab.
// Run it under Xvfb (QT_QPA_PLATFORM=xcb) for a real window.
//     drop_bench FOLDER

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include "controller_support.h"
#include "core/application.h"
#include "tabs/order_file.h"
#include "tabwindow/tab_window.h"

namespace {

constexpr int kRuns = 25;

// The drop as Qt delivers it: enter, one move over the middle of the items, drop.
void SendDrop(TfrmTab& window, const QString& file) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(file)});
    const QPointF point(window.width() / 2.0, window.height() / 2.0);
    QDragEnterEvent enter(point.toPoint(), Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &mime,
                          Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    QDragMoveEvent move(point.toPoint(), Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &mime,
                        Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &move);
    QDropEvent drop(point, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &mime, Qt::LeftButton,
                    Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
}

} // namespace

int main(int argc, char** argv) {
    PrepareDisplayEnvironment(); // as the program does
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const std::unique_ptr<TfrmRunning> running = bench::StartOnFolder("drop_bench", argc, argv);
    if (!running)
        return 1;
    TfrmRunning& controller = *running;
    const QString tabFolder = controller.TabWindows().first()->TabModel().TabFolder;
    const qsizetype items = controller.TabWindows().first()->TabModel().Items.size();

    QTemporaryDir source;
    const QString dropped = source.filePath(QStringLiteral("Meeting notes.txt"));
    QFile file(dropped);
    file.open(QIODevice::WriteOnly);
    file.write("agenda\n");
    file.close();

    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        times.push_back(bench::WallMs([&] {
            SendDrop(*controller.TabWindows().first(), dropped);
            // A new shortcut rebuilds the tab set: the first window is a new one now.
            controller.TabWindows().first()->repaint();
        }));
        TfrmTab& window = *controller.TabWindows().first();
        if (window.TabModel().Items.size() != items + 1) {
            std::fprintf(stderr, "drop_bench: the drop did not add an item\n");
            return 1;
        }
        // Back to the tab as it was: the new shortcut and its order line go again.
        for (const TItem& item : window.TabModel().Items) {
            if (item.Data.Target == dropped)
                QFile::remove(item.Data.LinkFile);
        }
        CleanOrderFile(tabFolder);
        window.ReloadTab();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    std::printf(
        "QDropEvent on a tab of %lld items: drop to new item drawn, median %.2f ms (min %.2f, max %.2f) "
        "over %d runs\n",
        static_cast<long long>(items), bench::Median(times), *std::min_element(times.begin(), times.end()),
        *std::max_element(times.begin(), times.end()), kRuns);
    return 0;
}
