// Reads arbitrary bytes as a file name and shows them as text: a name that is valid UTF-8 shows as
// itself, and every other byte stands as \xNN.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArrayView>
#include <QFile>

#include "common/undecodable_names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray name(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString shown = ShowNameBytes(name);
    const bool valid = QFile::encodeName(QFile::decodeName(name)) == name;
    if (valid && shown != QString::fromUtf8(name))
        std::abort();
    if (shown.size() > 4 * name.size())
        std::abort();
    return 0;
}
