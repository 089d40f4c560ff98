// Reads arbitrary bytes as the start of a bitmap file and checks what the header reader promises.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArrayView>

#include "formats/bmp_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::optional<BmpHeader> header = ReadBmpHeader(QByteArrayView(data, qsizetype(size)));
    if (!header)
        return 0;
    if (header->width <= 0 || header->height == 0)
        std::abort();
    if (const std::optional<qint64> needed = header->requiredFileSize(); needed && *needed < 0)
        std::abort();
    return 0;
}
