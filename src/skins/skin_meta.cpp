#include "skins/skin_meta.h"

#include "common/names.h"
#include "skins/skin_folder.h"

SkinMeta ReadSkinMeta(const QString& skinFolder) {
    const QString file = SkinFolder(skinFolder).findFile(QStringLiteral("skin.ini"));
    if (file.isEmpty())
        return {};
    return ReadSkinMeta(IniFile(file));
}

SkinMeta ReadSkinMeta(const IniFile& ini) {
    SkinMeta meta;
    const QString section = QStringLiteral("Meta");
    const auto read = [&](const QString& key) -> std::optional<QString> {
        if (!ini.hasKey(section, key))
            return std::nullopt;
        return ini.readString(section, key, QString());
    };
    meta.Author = read(QStringLiteral("Author"));
    meta.Website = read(QStringLiteral("Website"));
    meta.Description = read(QStringLiteral("Description"));
    return meta;
}

QString WebsiteAddress(const QString& value) {
    const QString prefix = QStringLiteral("http://");
    if (value.size() >= 8 && FoldCase(value.left(7)) == prefix)
        return value;
    // An address that already says https must not become "http://https://...".
    const QString secure = QStringLiteral("https://");
    if (value.size() > secure.size() && FoldCase(value.left(secure.size())) == secure)
        return value;
    return prefix + value;
}
