// Unescapes arbitrary text, which may raise only the integer conversion error, and checks that
// escaping then unescaping gives the text back.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QString>

#include "common/error.h"
#include "common/names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        UnescapeName(text);
    } catch (const Error&) {
    }
    if (UnescapeName(EscapeName(text)) != text)
        std::abort();
    return 0;
}
