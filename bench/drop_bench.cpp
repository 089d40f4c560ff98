// Time from a file dropped on a tab to the tab drawn with its new item, on the first tab of a
// program folder: the drop writes the new shortcut and its order-file line, the tab reads its
// items again, renders its image and repaints. When the tab window accepts drops, a real
// QDragEnterEvent / QDragMoveEvent / QDropEvent sequence is sent to it; otherwise the steps its
// drop handler takes for a plain file are carried out directly (the line printed says which).
// The dropped item is removed again after every run, so every run starts from the same tab.
// Run it under Xvfb (QT_QPA_PLATFORM=xcb) for a real window.
//     drop_bench FOLDER

#include <cstdio>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include "bench_support.h"
#include "common/names.h"
#include "common/program_folder.h"
#include "core/controller.h"
#include "formats/shortcut_link.h"
#include "platform/user_prompts.h"
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

// What the drop of a plain file does: a new shortcut to it, its place in the order file, and
// the tab read and drawn again.
void DropSteps(TfrmTab& window, const QString& file, int position) {
    const QFileInfo info(file);
    TShortcutLink link;
    link.ShortcutFile = window.TabModel().TabFolder + u'/' + EscapeName(info.completeBaseName()) + u".lnk";
    link.Target = file;
    link.WorkingDir = info.path();
    link.Description = QStringLiteral("Launches ") + info.completeBaseName() + u'.';
    link.Write();
    SetOrderPosition(window.TabModel().TabFolder, QFileInfo(link.ShortcutFile).fileName(), position);
    window.ReloadTab();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc != 2) {
        std::fprintf(stderr, "usage: drop_bench FOLDER\n");
        return 2;
    }
    bench::PrintMachine();
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    const ProgramFolder folder(
        QDir(QString::fromLocal8Bit(argv[1])).absoluteFilePath(QStringLiteral("Kelvara")));
    TfrmRunning controller(folder, {}, DefaultUserPrompts());
    controller.Start();
    QCoreApplication::processEvents();
    if (controller.TabWindows().isEmpty()) {
        std::fprintf(stderr, "drop_bench: the folder has no tab\n");
        return 1;
    }
    TfrmTab& window = *controller.TabWindows().first();
    const QString tabFolder = window.TabModel().TabFolder;
    const qsizetype items = window.TabModel().Items.size();

    QTemporaryDir source;
    const QString dropped = source.filePath(QStringLiteral("Meeting notes.txt"));
    QFile file(dropped);
    file.open(QIODevice::WriteOnly);
    file.write("agenda\n");
    file.close();

    const bool realDrop = window.acceptDrops();
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        times.push_back(bench::WallMs([&] {
            if (realDrop)
                SendDrop(window, dropped);
            else
                DropSteps(window, dropped, int(items / 2));
            window.repaint();
        }));
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
        "%s, tab of %lld items: drop to new item drawn, median %.2f ms (min %.2f, max %.2f) over %d runs\n",
        realDrop ? "QDropEvent on the tab window"
                 : "drop steps called directly (the window takes no drops yet)",
        static_cast<long long>(items), bench::Median(times), *std::min_element(times.begin(), times.end()),
        *std::max_element(times.begin(), times.end()), kRuns);
    return 0;
}
