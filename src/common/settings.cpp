#include "common/settings.h"

#include <algorithm>

#include "common/ini_file.h"
#include "common/program_folder.h"

namespace {

const QString Appearance = QStringLiteral("Appearance");
const QString General = QStringLiteral("General");
const QString Position = QStringLiteral("Position");
const QString Animation = QStringLiteral("Animation");

// Word values are compared after lower-casing; a value matching none of a key's words (a missing
// key included) takes the key's fallback.
QString ReadWord(const IniFile& file, const QString& section, const QString& key,
                 const QString& defaultValue = QString()) {
    return file.readString(section, key, defaultValue).toLower();
}

bool ReadOnOff(const IniFile& file, const QString& section, const QString& key) {
    return ReadWord(file, section, key) == QLatin1String("on");
}

AnimMode ReadAnimMode(const IniFile& file, const QString& key) {
    const QString word = ReadWord(file, Animation, key);
    if (word == QLatin1String("linear"))
        return AnimMode::Linear;
    if (word == QLatin1String("off"))
        return AnimMode::Off;
    return AnimMode::Accelerated;
}

// The file-name part of a path: what follows the last "/" or "\".
QString FileNamePart(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

QString OnOff(bool on) {
    return on ? QStringLiteral("On") : QStringLiteral("Off");
}

QString AnimModeText(AnimMode mode) {
    switch (mode) {
    case AnimMode::Off:
        return QStringLiteral("Off");
    case AnimMode::Linear:
        return QStringLiteral("Linear");
    case AnimMode::Accelerated:
        break;
    }
    return QStringLiteral("Accelerated");
}

QString TabAlignText(TabAlignment align) {
    switch (align) {
    case TabAlignment::TopLeft:
        return QStringLiteral("TopLeft");
    case TabAlignment::BottomRight:
        return QStringLiteral("BottomRight");
    case TabAlignment::Center:
        break;
    }
    return QStringLiteral("Center");
}

QString TabPosText(TabEdge edge) {
    switch (edge) {
    case TabEdge::Left:
        return QStringLiteral("left"); // the one value stored in lower case
    case TabEdge::Top:
        return QStringLiteral("Top");
    case TabEdge::Right:
        return QStringLiteral("Right");
    case TabEdge::Bottom:
        break;
    }
    return QStringLiteral("Bottom");
}

QString StackingText(StackingMode mode) {
    switch (mode) {
    case StackingMode::Disabled:
        return QStringLiteral("Disabled");
    case StackingMode::Aggressive:
        return QStringLiteral("Aggressive");
    case StackingMode::Normal:
        break;
    }
    return QStringLiteral("Normal");
}

} // namespace

StoredSettings LoadSettings(const QString& settingsFile, const ProgramFolder& folder) {
    const IniFile file(settingsFile);
    StoredSettings stored;
    Settings& s = stored.settings;

    stored.SkinName = file.readString(Appearance, QStringLiteral("Skin"), QStringLiteral("Aqua"));
    stored.TranslationChosen = file.hasKey(General, QStringLiteral("Translation"));
    const QString translation = file.readString(General, QStringLiteral("Translation"), QString());
    stored.TranslationPath =
        folder.translationFile(translation.isEmpty() ? QStringLiteral("English.txt") : translation);

    const QString align = ReadWord(file, Position, QStringLiteral("TabAlign"));
    s.TabAlign = align == QLatin1String("topleft")       ? TabAlignment::TopLeft
                 : align == QLatin1String("bottomright") ? TabAlignment::BottomRight
                                                         : TabAlignment::Center;

    stored.AutoUpdate =
        ReadWord(file, General, QStringLiteral("AutoUpdate"), QStringLiteral("No")) == QLatin1String("yes");

    const QString edge = ReadWord(file, Position, QStringLiteral("TabPos"));
    s.TabPos = edge == QLatin1String("top")     ? TabEdge::Top
               : edge == QLatin1String("left")  ? TabEdge::Left
               : edge == QLatin1String("right") ? TabEdge::Right
                                                : TabEdge::Bottom;

    s.Spacing =
        std::clamp(file.readInteger(Position, QStringLiteral("Spacing"), 12), kMinSpacing, kMaxSpacing);
    s.Screen = file.readInteger(Position, QStringLiteral("Screen"), 1);
    s.Alpha = ReadOnOff(file, Appearance, QStringLiteral("Alpha"));
    s.AlphaV = file.readInteger(Appearance, QStringLiteral("AlphaV"), 200);

    const QString stacking = ReadWord(file, General, QStringLiteral("AOTMode"));
    stored.AOTMode = stacking == QLatin1String("disabled")     ? StackingMode::Disabled
                     : stacking == QLatin1String("aggressive") ? StackingMode::Aggressive
                                                               : StackingMode::Normal;
    // Kept as written; the controller tells the user when it names no key it can grab.
    stored.ShortcutKey =
        file.readString(General, QStringLiteral("ShortcutKey"), QString::fromLatin1(kDefaultShortcutKey));

    s.Colorize = ReadOnOff(file, Appearance, QStringLiteral("Colorize"));
    s.ColorizeHue = file.readInteger(Appearance, QStringLiteral("ColorizeHue"), 0);
    s.InvertLum = ReadOnOff(file, Appearance, QStringLiteral("InvertLum"));
    s.OpenAnim = ReadAnimMode(file, QStringLiteral("Open"));
    s.CloseAnim = ReadAnimMode(file, QStringLiteral("Close"));
    s.ClickOpen = ReadOnOff(file, Animation, QStringLiteral("ClickOpen"));
    return stored;
}

void SaveSettings(const QString& settingsFile, const StoredSettings& values) {
    const Settings& s = values.settings;
    IniFile file(settingsFile);
    file.writeString(Appearance, QStringLiteral("Skin"), values.SkinName);
    const QString autoUpdate = values.AutoUpdate ? QStringLiteral("Yes") : QStringLiteral("No");
    // A language the user never picked is not stored, so that the next start follows the locale.
    // AutoUpdate then takes its place, so that a new file still has General before Position.
    if (values.TranslationChosen)
        file.writeString(General, QStringLiteral("Translation"), FileNamePart(values.TranslationPath));
    else
        file.writeString(General, QStringLiteral("AutoUpdate"), autoUpdate);
    file.writeString(Position, QStringLiteral("TabAlign"), TabAlignText(s.TabAlign));
    file.writeString(General, QStringLiteral("AutoUpdate"), autoUpdate);
    file.writeString(Position, QStringLiteral("TabPos"), TabPosText(s.TabPos));
    file.writeString(Position, QStringLiteral("Spacing"), QString::number(s.Spacing));
    file.writeString(Position, QStringLiteral("Screen"), QString::number(s.Screen));
    file.writeString(Appearance, QStringLiteral("Alpha"), OnOff(s.Alpha));
    file.writeString(Appearance, QStringLiteral("AlphaV"), QString::number(s.AlphaV));
    file.writeString(General, QStringLiteral("AOTMode"), StackingText(values.AOTMode));
    file.writeString(General, QStringLiteral("ShortcutKey"), values.ShortcutKey);
    file.writeString(Appearance, QStringLiteral("Colorize"), OnOff(s.Colorize));
    file.writeString(Appearance, QStringLiteral("ColorizeHue"), QString::number(s.ColorizeHue));
    file.writeString(Appearance, QStringLiteral("InvertLum"), OnOff(s.InvertLum));
    file.writeString(Animation, QStringLiteral("Open"), AnimModeText(s.OpenAnim));
    file.writeString(Animation, QStringLiteral("Close"), AnimModeText(s.CloseAnim));
    file.writeString(Animation, QStringLiteral("ClickOpen"), OnOff(s.ClickOpen));
    // One replacement of the whole file: a failure leaves the old file as it was.
    file.save();
}
