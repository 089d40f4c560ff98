#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The bytes of a test file kept as a hex dump (rows of an offset and 16 bytes; "#" lines are notes).
inline QByteArray ReadHexFixture(const QString& name) {
    QFile file(QStringLiteral(KELVARA_SOURCE_DIR "/tests/data/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith('#'))
            continue;
        const QList<QByteArray> words = line.simplified().split(' ');
        for (qsizetype i = 1; i < words.size(); ++i)
            bytes += char(words[i].toUInt(nullptr, 16));
    }
    return bytes;
}
