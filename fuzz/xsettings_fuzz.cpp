#include <cstddef>
#include <cstdint>

#include "formats/xsettings_format.h"

// Reads the input as the XSETTINGS property of a settings daemon and looks up the icon theme.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    XSettingsString(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)),
                    "Net/IconThemeName");
    return 0;
}
