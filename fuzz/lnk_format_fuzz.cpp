// Feeds arbitrary bytes to the shortcut reader; whatever it accepts must survive a write and a
// second read unchanged.
#include <cstddef>
#include <cstdint>

#include "formats/lnk_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::optional<LnkData> first = ParseLnk(QByteArrayView(data, qsizetype(size)));
    if (!first)
        return 0;
    const std::optional<QByteArray> bytes = SerializeLnk(*first);
    if (!bytes)
        __builtin_trap(); // every string that was read fits its length field again
    const std::optional<LnkData> second = ParseLnk(*bytes);
    if (!second || second->target != first->target || second->arguments != first->arguments ||
        second->workingDir != first->workingDir || second->description != first->description ||
        second->iconLocation != first->iconLocation || second->relativePath != first->relativePath ||
        second->iconIndex != first->iconIndex || second->showCommand != first->showCommand ||
        second->hotKey != first->hotKey)
        __builtin_trap();
    return 0;
}
