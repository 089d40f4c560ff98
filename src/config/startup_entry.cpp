#include "config/startup_entry.h"

#include <QDir>
#include <QFileInfo>

#include "common/error.h"
#include "common/replacing_file.h"

namespace {

const QString Description = QStringLiteral(
    "Starts Kelvara automatically when you start your computer. To disable this, change the option in "
    "the config screen, or just delete this file.");

// A string value of a desktop entry: backslashes and line breaks escaped.
QString EntryString(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out;
}

// One quoted argument of an Exec line: inside the quotes ", `, $ and \ take a backslash, and a
// literal % is doubled; the string escaping of the file then doubles every backslash again.
QString ExecArgument(const QString& argument) {
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    return EntryString(quoted);
}

} // namespace

QString StartupEntryPath() {
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty() || QDir::isRelativePath(configHome)) {
        const QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty())
            return QString();
        configHome = home + QStringLiteral("/.config");
    }
    return configHome + QStringLiteral("/autostart/Kelvara.desktop");
}

namespace {

// The entry as written, with or without the TryExec line that older versions did not write.
QByteArray EntryText(const QString& executable, const QString& workingDir, bool tryExec) {
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Name=Kelvara\n") +
                   QStringLiteral("Comment=") + EntryString(Description) + QLatin1Char('\n') +
                   QStringLiteral("Exec=") + ExecArgument(executable) + QLatin1Char('\n');
    // The desktop skips an entry whose program is gone (uninstalled, or a program folder moved
    // away) instead of failing to start it at every login.
    if (tryExec)
        text += QStringLiteral("TryExec=") + EntryString(executable) + QLatin1Char('\n');
    text += QStringLiteral("Path=") + EntryString(workingDir) + QLatin1Char('\n') +
            QStringLiteral("Terminal=false\n");
    return text.toUtf8();
}

} // namespace

QByteArray StartupEntryText(const QString& executable, const QString& workingDir) {
    return EntryText(executable, workingDir, true);
}

void CreateStartupEntry(const QString& entryPath, const QString& executable, const QString& workingDir) {
    if (QFileInfo::exists(entryPath))
        return;
    bool link = false;
    if (!QDir().mkpath(QFileInfo(entryPath).absolutePath()) ||
        !ReplaceFileContents(entryPath, StartupEntryText(executable, workingDir), &link))
        throw Error(WriteFailureMessage(UnableToWrite(entryPath), link));
}

void UpdateStartupEntry(const QString& entryPath, const QString& executable, const QString& workingDir) {
    QFile entry(entryPath);
    if (entry.size() > 64 * 1024 || !entry.open(QIODevice::ReadOnly))
        return;
    const QByteArray text = entry.readAll();
    entry.close();
    if (text != EntryText(executable, workingDir, false))
        return;
    bool link = false;
    if (!ReplaceFileContents(entryPath, StartupEntryText(executable, workingDir), &link))
        throw Error(WriteFailureMessage(UnableToWrite(entryPath), link));
}

void DeleteStartupEntry(const QString& entryPath) {
    QFile::remove(entryPath);
}
