#pragma once

#include <QString>
#include <QStringList>

// The translation file in folders (the user's first; a file there hides a shipped one of the same
// name) that is in one of the user's languages, for a settings file that names none. A file says its language
// in section [Translation], key Language ("de", "pt_BR"); a file without it (written before the key existed)
// counts as being in the language its name gives, in that language or in English ("Deutsch.txt",
// "German.txt"). uiLanguages are the user's languages, most wanted first, as QLocale::system().uiLanguages()
// gives them from LANGUAGE, LC_ALL, LC_MESSAGES and LANG. A file of the very language and region wins over
// one of the language alone, which wins over one of another region. Returns the file name, or an empty text
// when no file fits. Only the first 32 KiB of each file are read for its Language key.
QString TranslationForLanguages(const QStringList& folders, const QStringList& uiLanguages);

// The Language key of the translation file at path in lower case with "-" ("de", "pt-br"), from its
// first 32 KiB (cut at the last whole line); empty when the file does not say there or cannot be read.
QString DeclaredLanguage(const QString& path);

class ProgramFolder;
struct StoredSettings;

// Until the user has picked a language on the settings dialog, the translation follows the user's
// languages at every start: TranslationPath becomes the file in one of uiLanguages, or stays at
// English when none fits. A chosen translation is left as the settings file names it.
void FollowUserLanguages(StoredSettings& stored, const ProgramFolder& folder, const QStringList& uiLanguages);
