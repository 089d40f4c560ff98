#include <cstddef>
#include <cstdint>

#include <QTextDocument>

#include "formats/rtf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QTextDocument document;
    ReadRtf(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)), document);
    return 0;
}
