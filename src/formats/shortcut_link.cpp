#include "formats/shortcut_link.h"

#include "common/regular_file.h"
#include "common/replacing_file.h"

#include "formats/lnk_format.h"

namespace {

// The show commands stored in the file: 3 maximized, 7 minimized and 9 (SW_RESTORE) normal.
// Readers take any value but 3 and 7 as normal, so 9 and the format's own 1 read back alike.
quint32 StoredShowCommand(TShowCmd cmd) {
    switch (cmd) {
    case scShowMaximized:
        return 3;
    case scShowMinimized:
        return 7;
    case scShowNormal:
        break;
    }
    return 9;
}

TShowCmd ShowCmdOf(quint32 stored) {
    if (stored == 3)
        return scShowMaximized;
    if (stored == 7)
        return scShowMinimized;
    return scShowNormal;
}

// Ctrl and Alt in the high byte of the stored hot key.
constexpr quint16 kHotKeyCtrlAlt = 0x0600;

} // namespace

void TShortcutLink::SetHotKey(const QString& key) {
    if (key.isEmpty()) {
        m_hotKey = QLatin1Char(' ');
        return;
    }
    const QChar upper = key.at(0).toUpper();
    m_hotKey = upper.unicode() < 32 ? QLatin1Char(' ') : upper;
}

void TShortcutLink::Write() const {
    LnkData data;
    data.target = Target;
    data.workingDir = WorkingDir;
    data.arguments = Arguments;
    data.description = Description;
    data.showCommand = StoredShowCommand(ShowCmd);
    if (m_hotKey.unicode() > 32 && m_hotKey.unicode() <= 0xFF)
        data.hotKey = quint16(kHotKeyCtrlAlt | m_hotKey.unicode());
    data.iconLocation = IconLocation;
    data.iconIndex = IconNumber;

    const std::optional<QByteArray> bytes = SerializeLnk(data);
    bool link = false;
    QString systemReason;
    if (bytes && ReplaceFileContents(ShortcutFile, *bytes, &link, &systemReason))
        return;
    const UserText reason = !bytes
                                ? UserText("Shortcut.TooLong", "its properties are too long for a shortcut")
                            : link ? LinkRefusal()
                                   : UserText::plain(systemReason);
    throw EShortcutError(
        WriteFailureMessage(UserText("Shortcut.NotCreated", "Unable to create .lnk file"), link), reason);
}

void TShortcutLink::Read() {
    const auto fail = [] { return Error(UserText("Shortcut.NotOpened", "Unable to open link file")); };
    // One byte more than the limit tells an oversized file from one of exactly the limit.
    const std::optional<QByteArray> bytes = ReadRegularFile(ShortcutFile, kMaxLnkFileSize + 1);
    if (!bytes)
        throw fail();
    const std::optional<LnkData> data = ParseLnk(*bytes);
    if (!data)
        throw fail();

    Target = data->target;
    WorkingDir = data->workingDir;
    IconLocation = data->iconLocation;
    // Icon numbers outside 0..65535 (negative resource ids) cannot be named here.
    IconNumber = data->iconIndex >= 0 && data->iconIndex <= 0xFFFF ? quint16(data->iconIndex) : 0;
    Description = data->description;
    ShowCmd = ShowCmdOf(data->showCommand);
    const quint16 key = data->hotKey & 0xFF;
    m_hotKey = key > 32 ? QChar(char16_t(key)) : QLatin1Char(' ');
    Arguments = data->arguments;
}

bool ReadsAsShortcut(const QString& path) {
    const std::optional<QByteArray> bytes = ReadRegularFile(path, kMaxLnkFileSize + 1);
    return bytes && ParseLnk(*bytes).has_value();
}
