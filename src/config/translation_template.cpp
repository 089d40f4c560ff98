#include "config/translation_template.h"

#include "config/config_dialog.h"
#include "config/config_host.h"
#include "translation/translation.h"

void WriteTranslationTemplateFile(ConfigHost& host, const QObject* mainForm, const QObject* firstTabWindow) {
    WriteTranslationTemplate(
        mainForm, firstTabWindow,
        [&host] { return std::make_unique<TfrmConfig>(host, TfrmConfig::Use::Template); },
        host.folder().translationDir() + QStringLiteral("English.txt"));
}
