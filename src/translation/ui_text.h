#pragma once

#include <QList>
#include <QString>

#include "common/user_text.h"

class IniFile;

// The texts a user sees outside the translated components: window titles, page names, prompts,
// messages and their buttons, the error report and the download dialog. A translation file holds
// them in section [Texts], one key each, written and read like every other translated value
// (through EscapeName and UnescapeName).
inline const QString TextsSection = QStringLiteral("Texts");

// The active translation's text for key, or english when no translation is active or it lacks the
// key (or holds a malformed escape in it). A name or a number inside a text is a placeholder %1,
// %2, ... that the caller fills with QString::arg, so a translation may move it. Every key with
// its English text is also listed in UiTextCatalog(), from which the template is written.
//     UiText("Prompt.NewTabTitle", "New Tab")
//     UiText("Error.UnableToCreate", "Unable to create %1").arg(folder)
QString UiText(const char* key, const char* english);

// A text made below the translations in the active translation's words: each key it holds is
// looked up as UiText looks it up, so a text the translation lacks stays English.
QString Worded(const UserText& text);

// Makes the translation file at path the source of UiText; a missing file (or an empty path)
// leaves every text English.
void LoadUiTexts(const QString& path);

struct CatalogText {
    const char* key;
    const char* english;
};

// Every key UiText is called with and its English text, in the order the template lists them.
const QList<CatalogText>& UiTextCatalog();

// Writes every catalogue text in English into section [Texts] of the in-memory file.
void WriteUiTexts(IniFile& file);
