// Feeds arbitrary bytes to the order-file reader and the name masks; lines that are read must
// come back unchanged after a write.
#include <cstddef>
#include <cstdint>

#include "formats/order_list_format.h"
#include "tabs/name_mask.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList lines = ParseOrderLines(QByteArrayView(data, qsizetype(size)));
    const QByteArray written = SerializeOrderLines(lines);
    if (written.size() <= kMaxOrderFileSize && ParseOrderLines(written) != lines)
        __builtin_trap();
    // The first line as a mask against the others.
    for (qsizetype i = 1; i < lines.size() && i < 16; ++i)
        MatchesMask(lines[i], lines.front());
    return 0;
}
