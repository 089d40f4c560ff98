#include <cstddef>
#include <cstdint>

#include "common/error.h"
#include "formats/avi_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        ReadAvi(QByteArrayView(data, qsizetype(size)));
    } catch (const Error&) {
    }
    return 0;
}
