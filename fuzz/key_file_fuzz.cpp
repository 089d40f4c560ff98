#include <cstddef>
#include <cstdint>

#include "common/error.h"
#include "formats/key_file.h"
#include "tabs/open_command.h"

// Reads the input as a key file, then turns every value into an open command and splits it, as a
// drop does with the Exec line of the default application.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const KeyFile file =
            KeyFile::parse(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
        for (const KeyFile::Entry& entry : file.entries()) {
            DesktopListValue(entry.value);
            SplitOpenCommand(ExecToOpenCommand(entry.value), QStringLiteral("/home/me/a b.txt"));
        }
    } catch (const Error&) {
    }
    return 0;
}
