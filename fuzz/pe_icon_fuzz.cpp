// Feeds arbitrary bytes to the reader of icons in Windows programs, for the first icon numbers.
#include <cstddef>
#include <cstdint>

#include "formats/pe_icon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(data, qsizetype(size));
    for (int index = 0; index < 3; ++index)
        ExtractPeIconGroup(bytes, index);
    return 0;
}
