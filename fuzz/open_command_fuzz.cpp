// Reads arbitrary bytes as the arguments of an Exec line and a dropped path (split at the first
// NUL), turns them into the open command of a new shortcut and splits its arguments as the launch
// does: the path must come back whole within one argument, and any quoted text as itself.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArrayView>
#include <QProcess>

#include "tabs/open_command.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype nul = bytes.indexOf('\0');
    const QString tail = QString::fromUtf8(nul < 0 ? bytes : bytes.first(nul));
    const QString path = nul < 0 ? QString() : QString::fromUtf8(bytes.sliced(nul + 1));

    if (!tail.isEmpty() && QProcess::splitCommand(QuoteArgument(tail)) != QStringList(tail))
        std::abort();

    const QString exec = QStringLiteral("app ") + tail;
    const QString openCommand = ExecToOpenCommand(exec);
    const LaunchCommand command = SplitOpenCommand(openCommand, path);
    // Whether the Exec line has a file code is what its own quoting makes of it ("%\"%u\"" is a
    // literal "%u"), so the placeholder in the open command tells.
    if (path.isEmpty() || !openCommand.contains(QLatin1String("%1")))
        return 0;
    // The argument may hold more than the path ("--file=%f"), but the path is never cut.
    const QStringList arguments = QProcess::splitCommand(command.arguments);
    if (std::none_of(arguments.cbegin(), arguments.cend(),
                     [&](const QString& a) { return a.contains(path); }))
        std::abort();
    return 0;
}
