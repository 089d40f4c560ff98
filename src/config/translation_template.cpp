#include "config/translation_template.h"

#include <QDir>

#include "config/config_dialog.h"
#include "config/config_host.h"
#include "translation/translation.h"

void WriteTranslationTemplateFile(ConfigHost& host, const QObject* mainForm, const QObject* firstTabWindow) {
    // The user's translation folder may not exist yet; when it cannot be made, the write below
    // raises its message.
    const QString folder = host.folder().userTranslationDir();
    QDir().mkpath(folder);
    WriteTranslationTemplate(
        mainForm, firstTabWindow,
        [&host] { return std::make_unique<TfrmConfig>(host, TfrmConfig::Use::Template); },
        folder + QStringLiteral("English.txt"));
}
