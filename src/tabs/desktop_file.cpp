#include "tabs/desktop_file.h"

#include <memory>

#include <glib.h>

#include "common/regular_file.h"

namespace {

// A desktop entry is a few kilobytes; anything far larger is not one and is not read.
constexpr qint64 kMaxDesktopFileSize = 1024 * 1024;

constexpr const char* kGroup = "Desktop Entry";

struct KeyFileDeleter {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};

QString TakeString(gchar* value) {
    const QString text = QString::fromUtf8(value);
    g_free(value);
    return text;
}

} // namespace

std::optional<DesktopFileInfo> ReadDesktopFile(const QString& path) {
    // Only a regular file is opened: a FIFO or a device named here would block or never end.
    const std::optional<QByteArray> read = ReadRegularFile(path, kMaxDesktopFileSize + 1);
    if (!read || read->size() > kMaxDesktopFileSize)
        return std::nullopt;
    const QByteArray& data = *read;

    const std::unique_ptr<GKeyFile, KeyFileDeleter> keys(g_key_file_new());
    if (!g_key_file_load_from_data(keys.get(), data.constData(), gsize(data.size()), G_KEY_FILE_NONE,
                                   nullptr) ||
        !g_key_file_has_group(keys.get(), kGroup))
        return std::nullopt;

    DesktopFileInfo entry;
    entry.type = TakeString(g_key_file_get_string(keys.get(), kGroup, "Type", nullptr));
    entry.name = TakeString(g_key_file_get_locale_string(keys.get(), kGroup, "Name", nullptr, nullptr));
    entry.icon = TakeString(g_key_file_get_locale_string(keys.get(), kGroup, "Icon", nullptr, nullptr));
    entry.url = TakeString(g_key_file_get_string(keys.get(), kGroup, "URL", nullptr));
    entry.exec = TakeString(g_key_file_get_string(keys.get(), kGroup, "Exec", nullptr));
    entry.tryExec = TakeString(g_key_file_get_string(keys.get(), kGroup, "TryExec", nullptr));
    entry.hidden = g_key_file_get_boolean(keys.get(), kGroup, "Hidden", nullptr);
    return entry;
}
