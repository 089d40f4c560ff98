#pragma once

#include <functional>
#include <memory>

#include <QList>
#include <QString>

class QObject;

// The fixed section names of a translation file.
inline const QString MainSection = QStringLiteral("Main");
inline const QString TabSection = QStringLiteral("Tab");
inline const QString ConfigSection = QStringLiteral("Config");

// Reads the section of the translation file into the form's texts. Does nothing when no file
// exists at the path. Raises Error on a malformed escape (see ReadTranslation).
void ApplyTranslation(QObject* form, const QString& filePath, const QString& section);

// Writes the form's current texts into the section of the file, creating the file when it is
// missing and keeping every other line. Raises Error("Unable to write to <path>") when the file
// cannot be written.
void WriteTranslation(const QObject* form, const QString& filePath, const QString& section);

// Makes the file the source of the texts outside components (UiText), then applies "Main" to the main form,
// "Tab" to every tab window in order, then "Config" to the settings dialog when one is open (configDialog may
// be null), which then gets a LanguageChange event to set its other texts anew.
void TranslateAll(QObject* mainForm, const QList<QObject*>& tabWindows, QObject* configDialog,
                  const QString& translationPath);

// Writes the template file: "Main" from the live main form (with whatever language is active),
// "Tab" from the first tab window when there is one (firstTabWindow may be null), then "Config"
// from a settings-dialog instance that makeConfigDialog creates untranslated and that is destroyed
// afterwards, and last the texts outside components in English ([Texts]). Sections written before
// a failure stay in the file.
void WriteTranslationTemplate(const QObject* mainForm, const QObject* firstTabWindow,
                              const std::function<std::unique_ptr<QObject>()>& makeConfigDialog,
                              const QString& targetPath);
