#pragma once

#include <QString>
#include <QtGlobal>

class ProgramFolder;

// The screen edge the tabs sit on (stored values 0 to 3).
enum class TabEdge : quint8 { Bottom = 0, Left = 1, Top = 2, Right = 3 };
// Where the row of tabs sits along that edge.
enum class TabAlignment : quint8 { TopLeft = 0, Center = 1, BottomRight = 2 };
// Opening and closing animation modes.
enum class AnimMode : quint8 { Off = 0, Linear = 1, Accelerated = 2 };
// Always-on-top modes.
enum class StackingMode : quint8 { Disabled = 0, Normal = 1, Aggressive = 2 };

// The in-memory settings record. A value-initialised record has every field zero, which is what
// the skins preview draws with; LoadSettings gives the file's values and defaults.
struct Settings {
    bool Colorize = false;
    qint32 ColorizeHue = 0;
    bool InvertLum = false;
    bool ClickOpen = false;
    AnimMode OpenAnim = AnimMode::Off;
    AnimMode CloseAnim = AnimMode::Off;
    TabEdge TabPos = TabEdge::Bottom;
    TabAlignment TabAlign = TabAlignment::TopLeft;
    qint32 Screen = 0;
    qint32 Spacing = 0;
    bool Alpha = false;
    qint32 AlphaV = 0;

    bool vertical() const { return TabPos == TabEdge::Left || TabPos == TabEdge::Right; }
};

// The range of Spacing that the settings file and the dialog can set: from minus the widest tab a
// skin may have to the longest edge an X11 screen can have. Placement narrows it further to the
// skin and the monitor in use.
inline constexpr qint32 kMinSpacing = -4096;
inline constexpr qint32 kMaxSpacing = 32767;

// The key combination that opens the tabs from the keyboard when the settings file names none.
inline constexpr const char* kDefaultShortcutKey = "Ctrl+Alt+K";

// Everything the settings file holds: the record and the five values the controller keeps
// beside it.
struct StoredSettings {
    Settings settings;
    QString SkinName;
    StackingMode AOTMode = StackingMode::Normal;
    bool AutoUpdate = false;
    // Full path of the translation file. The settings file names one only once the user has picked
    // one (TranslationChosen); until then the start-up sets it to the user's language each time.
    QString TranslationPath;
    bool TranslationChosen = false;
    // The global shortcut as Qt writes key sequences ("Ctrl+Alt+K"); empty switches it off.
    QString ShortcutKey = QString::fromLatin1(kDefaultShortcutKey);
};

// Reads every key of the settings file (which it never creates or writes) with the defaults of a
// missing file or value; the translation's file name is looked up in the folders of folder.
// Without a Translation key TranslationChosen is off and TranslationPath names English.
StoredSettings LoadSettings(const QString& settingsFile, const ProgramFolder& folder);

// Writes the keys in their fixed order and value texts; Translation only when the user chose one. Raises
// Error("Unable to write to " + file) when the file cannot be written; the old file then stays intact.
void SaveSettings(const QString& settingsFile, const StoredSettings& values);
