#pragma once

#include <QString>

// Loads Qt's own texts (the context menu of edit fields, standard buttons, file dialogs) in the
// language ("de", "pt-br", "zh_CN"), in place of those loaded before. Qt's translations come from
// its translations folder (package qt6-translations-l10n); an empty language, or one Qt has no
// file for, leaves them English. Returns whether a translation was loaded.
bool LoadQtTranslations(const QString& language);

// The language of Qt's texts for the Kelvara translation file in use: the one the file declares, else
// the one its name gives ("English.txt", "Deutsch.txt"); empty (English) when no file is in use or
// the language is not known.
QString QtLanguageFor(const QString& translationPath);
