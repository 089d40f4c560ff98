#include "formats/desktop_entry.h"

#include <QProcess>

#include "common/windows1252.h"
#include "formats/key_file.h"

DesktopEntry ParseDesktopEntry(QByteArrayView bytes) {
    if (bytes.size() > kMaxDesktopEntrySize)
        bytes = bytes.first(kMaxDesktopEntrySize);
    const QString text = DecodeUtf8OrWindows1252(bytes);
    DesktopEntry entry;
    bool inEntryGroup = false;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            inEntryGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inEntryGroup || equals < 0)
            continue;
        const QStringView key = line.first(equals).trimmed();
        const QString value = UnescapeKeyFileValue(line.sliced(equals + 1).trimmed());
        if (key == QLatin1String("Type"))
            entry.type = value;
        else if (key == QLatin1String("Exec"))
            entry.exec = value;
        else if (key == QLatin1String("Path"))
            entry.path = value;
        else if (key == QLatin1String("Icon"))
            entry.icon = value;
        else if (key == QLatin1String("URL"))
            entry.url = value;
        else if (key == QLatin1String("Terminal"))
            entry.terminal = value == QLatin1String("true");
    }
    return entry;
}

QStringList DesktopExecArguments(const QString& exec) {
    QStringList arguments;
    for (const QString& word : QProcess::splitCommand(exec)) {
        QString out;
        for (qsizetype i = 0; i < word.size(); ++i) {
            if (word[i] != QLatin1Char('%')) {
                out += word[i];
            } else if (i + 1 < word.size() && word[i + 1] == QLatin1Char('%')) {
                out += QLatin1Char('%');
                ++i;
            } else {
                ++i; // a field code: the launcher passes no files or URLs through it
            }
        }
        if (!out.isEmpty() || !word.contains(QLatin1Char('%')))
            arguments.append(out);
    }
    return arguments;
}
