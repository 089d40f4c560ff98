// Parses arbitrary bytes as an INI file, reads every key, and checks that a rewrite keeps every
// value and that a written key reads back.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "common/error.h"
#include "common/ini_file.h"

namespace {

// Every key of before reads the same in after.
void CheckSameValues(const IniFile& before, const IniFile& after) {
    if (before.sectionNames() != after.sectionNames())
        std::abort();
    for (const QString& section : before.sectionNames()) {
        if (before.keyNames(section) != after.keyNames(section))
            std::abort();
        for (const QString& key : before.keyNames(section)) {
            const QString value = before.readString(section, key, QString());
            if (after.readString(section, key, QStringLiteral("\n")) != value)
                std::abort();
            if (before.readInteger(section, key, 7, IniFile::IntegerForms::DecimalOrHex) !=
                after.readInteger(section, key, 7, IniFile::IntegerForms::DecimalOrHex))
                std::abort();
        }
    }
}

IniFile Reparse(const IniFile& file) {
    return IniFile::fromData(file.path(), file.serialize());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    IniFile file = IniFile::fromData(QStringLiteral("fuzz.ini"), bytes);
    CheckSameValues(file, Reparse(file));

    const QStringList sections = file.sectionNames();
    try {
        if (!sections.isEmpty() && !file.keyNames(sections.first()).isEmpty()) {
            const QString key = file.keyNames(sections.first()).first();
            file.writeString(sections.first(), key, QStringLiteral(" replaced "));
            if (file.readString(sections.first(), key, QString()) != QStringLiteral("replaced"))
                std::abort();
        }
    } catch (const Error&) {
        // A name read from the file may be one that cannot be written back (holding "]").
    }
    file.writeString(QStringLiteral("Fuzz"), QStringLiteral("Added"), QStringLiteral("0x10"));
    const IniFile reread = Reparse(file);
    CheckSameValues(file, reread);
    if (reread.readInteger(QStringLiteral("fuzz"), QStringLiteral("added"), 0,
                           IniFile::IntegerForms::DecimalOrHex) != 16)
        std::abort();
    return 0;
}
