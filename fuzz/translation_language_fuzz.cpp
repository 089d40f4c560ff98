// Reads arbitrary bytes as the one translation file of a folder and asks which file is in the
// user's language: only the start of the file is read for its Language key, cut at a line break.
// The answer is that file or none, and a file whose start names the language is found.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "translation/language_match.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("Fuzzed.txt"));
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QByteArray& content : {bytes, QByteArray("[Translation]\r\nLanguage=de\r\n" + bytes)}) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
            std::abort();
        file.close();
        const QString found = TranslationForLanguages({folder.path()}, {QStringLiteral("de-DE")});
        if (!found.isEmpty() && found != QStringLiteral("Fuzzed.txt"))
            std::abort();
        // A key at the very top is always within the part read.
        if (content != bytes && found.isEmpty())
            std::abort();
    }
    return 0;
}
