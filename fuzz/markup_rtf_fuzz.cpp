#include <cstddef>
#include <cstdint>

#include "formats/markup_rtf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString rtf = MarkupToRtf(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    // Whatever the mark-up, the result is one RTF group: the header opens it, " }" closes it.
    if (!rtf.startsWith(QStringLiteral("{\\rtf1")) || !rtf.endsWith(QStringLiteral(" }")))
        __builtin_trap();
    return 0;
}
