#include "tabs/desktop_entry_edit.h"

#include <memory>

#include <glib.h>

#include "common/error.h"
#include "common/regular_file.h"
#include "common/replacing_file.h"

namespace {

// A desktop entry is a few kilobytes; anything far larger is not one and is not read.
constexpr qint64 kMaxDesktopFileSize = 1024 * 1024;

constexpr const char* kGroup = "Desktop Entry";

struct KeyFileDeleter {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFilePtr = std::unique_ptr<GKeyFile, KeyFileDeleter>;

QString TakeString(gchar* value) {
    const QString text = QString::fromUtf8(value);
    g_free(value);
    return text;
}

// The whole file with its comments and every translation, so that writing it back loses nothing.
KeyFilePtr LoadEntry(const QString& path) {
    // Only a regular file is opened: a FIFO or a device named here would block or never end.
    const std::optional<QByteArray> data = ReadRegularFile(path, kMaxDesktopFileSize + 1);
    KeyFilePtr keys(g_key_file_new());
    if (!data || data->size() > kMaxDesktopFileSize ||
        !g_key_file_load_from_data(keys.get(), data->constData(), gsize(data->size()),
                                   GKeyFileFlags(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS),
                                   nullptr) ||
        !g_key_file_has_group(keys.get(), kGroup))
        throw Error(UserText("Entry.Unreadable", "Unable to read desktop entry"));
    return keys;
}

QString Plain(GKeyFile* keys, const char* key) {
    return TakeString(g_key_file_get_string(keys, kGroup, key, nullptr));
}

QString Shown(GKeyFile* keys, const char* key) {
    return TakeString(g_key_file_get_locale_string(keys, kGroup, key, nullptr, nullptr));
}

DesktopEntryFields FieldsOf(GKeyFile* keys) {
    DesktopEntryFields fields;
    fields.link = Plain(keys, "Type") == QLatin1String("Link");
    fields.name = Shown(keys, "Name");
    fields.command = Plain(keys, fields.link ? "URL" : "Exec");
    fields.workingDir = Plain(keys, "Path");
    fields.comment = Shown(keys, "Comment");
    fields.icon = Shown(keys, "Icon");
    return fields;
}

void SetPlain(GKeyFile* keys, const char* key, const QString& old, const QString& value) {
    if (value != old)
        g_key_file_set_string(keys, kGroup, key, value.toUtf8().constData());
}

// Sets the value the user's language shows: its translation when there is one, as a new
// untranslated value would stay hidden behind it.
void SetShown(GKeyFile* keys, const char* key, const QString& old, const QString& value) {
    if (value == old)
        return;
    gchar* locale = g_key_file_get_locale_for_key(keys, kGroup, key, nullptr);
    if (locale != nullptr)
        g_key_file_set_locale_string(keys, kGroup, key, locale, value.toUtf8().constData());
    else
        g_key_file_set_string(keys, kGroup, key, value.toUtf8().constData());
    g_free(locale);
}

void Save(const QString& path, GKeyFile* keys) {
    gsize size = 0;
    gchar* data = g_key_file_to_data(keys, &size, nullptr);
    const QByteArray bytes(data, qsizetype(size));
    g_free(data);
    bool link = false;
    QString reason;
    if (!ReplaceFileContents(path, bytes, &link, &reason)) {
        const UserText message =
            WriteFailureMessage(UserText("Entry.NotWritten", "Unable to write desktop entry"), link);
        throw Error(reason.isEmpty() ? message
                                     : UserText("Failure.WithReason", "%1: %2").arg(message).arg(reason));
    }
}

} // namespace

DesktopEntryFields ReadDesktopEntryFields(const QString& path) {
    return FieldsOf(LoadEntry(path).get());
}

void WriteDesktopEntryFields(const QString& path, const DesktopEntryFields& shown,
                             const DesktopEntryFields& edited) {
    if (edited == shown)
        return;
    const KeyFilePtr keys = LoadEntry(path);
    SetShown(keys.get(), "Name", shown.name, edited.name);
    SetPlain(keys.get(), shown.link ? "URL" : "Exec", shown.command, edited.command);
    SetPlain(keys.get(), "Path", shown.workingDir, edited.workingDir);
    SetShown(keys.get(), "Comment", shown.comment, edited.comment);
    SetShown(keys.get(), "Icon", shown.icon, edited.icon);
    Save(path, keys.get());
}

void SetDesktopEntryName(const QString& path, const QString& name) {
    const DesktopEntryFields shown = ReadDesktopEntryFields(path);
    DesktopEntryFields edited = shown;
    edited.name = name;
    WriteDesktopEntryFields(path, shown, edited);
}
