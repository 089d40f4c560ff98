#pragma once

#include <optional>

#include <QString>

#include "common/ini_file.h"

// The descriptive keys of a skin's [Meta] section, each only when present (an empty value is
// present).
struct SkinMeta {
    std::optional<QString> Author;
    std::optional<QString> Website; // as written; WebsiteAddress gives the address to open
    std::optional<QString> Description;
};

// Reads [Meta] of the skin.ini in the skin folder (with a trailing "/"). A missing file or
// section gives no keys.
SkinMeta ReadSkinMeta(const QString& skinFolder);
SkinMeta ReadSkinMeta(const IniFile& ini);

// The web address for a Website value: the value itself when it is at least 8 characters long and
// begins with "http://" in any letter case, or begins with "https://" and goes on after it;
// otherwise "http://" followed by the value.
QString WebsiteAddress(const QString& value);
