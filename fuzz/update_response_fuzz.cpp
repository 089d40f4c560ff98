#include <cstddef>
#include <cstdint>

#include "formats/update_response.h"

// The update server's answer arrives from the network: its reader must take any bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const UpdateResponse response = ParseUpdateResponse(QByteArrayView(data, qsizetype(size)));
    if (response.kind == UpdateResponse::Kind::Update && response.address.contains(QLatin1Char('\n')))
        __builtin_trap(); // an address is one line
    return 0;
}
