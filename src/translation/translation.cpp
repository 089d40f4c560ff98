#include "translation/translation.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QObject>

#include "common/ini_file.h"
#include "translation/translation_walk.h"
#include "translation/ui_text.h"

void ApplyTranslation(QObject* form, const QString& filePath, const QString& section) {
    if (!QFileInfo(filePath).isFile())
        return;
    const IniFile file(filePath);
    ReadTranslation(form, file, section);
}

void WriteTranslation(const QObject* form, const QString& filePath, const QString& section) {
    IniFile file(filePath);
    WriteTranslationKeys(form, file, section);
    file.save();
}

void TranslateAll(QObject* mainForm, const QList<QObject*>& tabWindows, QObject* configDialog,
                  const QString& translationPath) {
    LoadUiTexts(translationPath);
    ApplyTranslation(mainForm, translationPath, MainSection);
    for (QObject* tabWindow : tabWindows)
        ApplyTranslation(tabWindow, translationPath, TabSection);
    if (configDialog) {
        ApplyTranslation(configDialog, translationPath, ConfigSection);
        // The dialog sets its other texts (title, page names, composed lines) anew.
        QEvent changed(QEvent::LanguageChange);
        QCoreApplication::sendEvent(configDialog, &changed);
    }
}

void WriteTranslationTemplate(const QObject* mainForm, const QObject* firstTabWindow,
                              const std::function<std::unique_ptr<QObject>()>& makeConfigDialog,
                              const QString& targetPath) {
    WriteTranslation(mainForm, targetPath, MainSection);
    if (firstTabWindow)
        WriteTranslation(firstTabWindow, targetPath, TabSection);
    const std::unique_ptr<QObject> dialog = makeConfigDialog();
    dialog->setObjectName(QStringLiteral("frmConfig"));
    WriteTranslation(dialog.get(), targetPath, ConfigSection);
    IniFile file(targetPath);
    WriteUiTexts(file);
    file.save();
}
