// Reads arbitrary bytes as a desktop entry's Exec line and asks whether a number of files may go
// to one start of its application: more than the limit never may, and a list code (%F, %U) takes
// any number up to it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QString>

#include "tabs/desktop_app.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const qsizetype files = data[0];
    const QString exec = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const UserText refusal = FilesRefusal(exec, files);
    if (files > kMaxFilesPerStart && refusal.isEmpty())
        std::abort();
    if (files == 0 && !refusal.isEmpty())
        std::abort();
    if (files <= kMaxFilesPerStart && !refusal.isEmpty() &&
        (exec.contains(QStringLiteral("%F")) || exec.contains(QStringLiteral("%U"))) &&
        !exec.contains(QStringLiteral("%%")))
        std::abort();
    return 0;
}
