#include "common/undecodable_names.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>

namespace {

bool Decodes(QByteArrayView name) {
    const QByteArray bytes = name.toByteArray();
    return QFile::encodeName(QFile::decodeName(bytes)) == bytes;
}

// The length of the valid UTF-8 sequence starting at i, or 0 when none starts there.
qsizetype SequenceLength(QByteArrayView bytes, qsizetype i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const qsizetype length = lead < 0x80                   ? 1
                             : lead >= 0xC2 && lead < 0xE0 ? 2
                             : lead >= 0xE0 && lead < 0xF0 ? 3
                             : lead >= 0xF0 && lead < 0xF5 ? 4
                                                           : 0;
    if (length == 0 || i + length > bytes.size())
        return 0;
    return Decodes(bytes.sliced(i, length)) ? length : 0;
}

bool EndsWithFolded(QByteArrayView name, QByteArrayView suffix) {
    if (name.size() < suffix.size())
        return false;
    return QByteArrayView(name.last(suffix.size())).compare(suffix, Qt::CaseInsensitive) == 0;
}

} // namespace

QString ShowNameBytes(QByteArrayView name) {
    QString shown;
    for (qsizetype i = 0; i < name.size();) {
        const qsizetype length = SequenceLength(name, i);
        if (length > 0) {
            shown += QString::fromUtf8(name.sliced(i, length));
            i += length;
        } else {
            const auto byte = static_cast<unsigned char>(name[i]);
            shown += QStringLiteral("\\x") + QString::number(byte, 16).toUpper().rightJustified(2, u'0');
            ++i;
        }
    }
    return shown;
}

QStringList UndecodableEntries(const QString& folder, bool files, bool folders, QByteArrayView suffix) {
    QStringList found;
    DIR* dir = opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return found;
    while (const dirent* entry = readdir(dir)) {
        const QByteArrayView name(entry->d_name);
        if (Decodes(name))
            continue;
        struct stat info {};
        if (fstatat(dirfd(dir), entry->d_name, &info, 0) != 0)
            continue;
        const bool listed = (files && S_ISREG(info.st_mode) && EndsWithFolded(name, suffix)) ||
                            (folders && S_ISDIR(info.st_mode));
        if (listed)
            found.append(QDir::toNativeSeparators(folder + QLatin1Char('/') + ShowNameBytes(name)));
    }
    closedir(dir);
    found.sort();
    return found;
}
