// Reads arbitrary bytes as a ".desktop" file and splits its Exec line (and the whole text, as an
// Exec line of any length) into the program and its arguments.

#include <cstddef>
#include <cstdint>

#include <QByteArrayView>

#include "formats/desktop_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const DesktopEntry entry = ParseDesktopEntry(bytes);
    DesktopExecArguments(entry.exec);
    DesktopExecArguments(QString::fromUtf8(bytes));
    return 0;
}
