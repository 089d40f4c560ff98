#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include "common/error.h"
#include "common/ini_file.h"
#include "common/names.h"
#include "common/program_folder.h"
#include "common/settings.h"
#include "config/config_dialog.h"
#include "config/page_control.h"
#include "fake_config_host.h"
#include "formats/shortcut_link.h"
#include "qt_app_environment.h"
#include "translation/language_match.h"
#include "translation/translation.h"
#include "translation/ui_text.h"
#include "ui/add_applications_dialog.h"
#include "ui/item_properties_dialog.h"

namespace {

const QString Folder = QStringLiteral(KELVARA_SOURCE_DIR "/data/Translation/");

QFileInfoList ShippedFiles() {
    return QDir(Folder).entryInfoList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
}

// The numbered placeholders of a text, %1 to %9, each once however often it appears.
QSet<QString> Placeholders(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
    QSet<QString> found;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text))
        found.insert(match.captured());
    return found;
}

// The access key a caption gives (Alt and the letter after a single "&"), or none.
QKeySequence AccessKey(const QString& caption) {
    return QKeySequence::mnemonic(caption);
}

// The controls of a window that carry a caption of their own: labels that lead to a control, check
// boxes and push buttons. Radio buttons and the monitor buttons are reached through the label of
// their group (Alt and its key, then the arrow keys or Tab); OK and Cancel through Return and Escape.
QList<QWidget*> LabelledControls(const QWidget* root) {
    QList<QWidget*> controls;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        const auto* label = qobject_cast<QLabel*>(widget);
        if (label && label->buddy())
            controls << widget;
        if (!qobject_cast<QCheckBox*>(widget) && !qobject_cast<QPushButton*>(widget))
            continue;
        if (auto* box = qobject_cast<QDialogButtonBox*>(widget->parentWidget())) {
            const QDialogButtonBox::StandardButton kind =
                box->standardButton(static_cast<QPushButton*>(widget));
            if (kind == QDialogButtonBox::Cancel || kind == QDialogButtonBox::Ok)
                if (AccessKey(static_cast<QPushButton*>(widget)->text()).isEmpty())
                    continue;
        }
        controls << widget;
    }
    return controls;
}

// Every labelled control of the window has an access key, and no two share one.
void ExpectOwnAccessKeys(const QList<QWidget*>& controls, const QSet<QString>& withoutKey = {}) {
    QMap<QString, QString> taken;
    for (const QWidget* control : controls) {
        const QString caption = control->property("text").toString();
        if (caption.isEmpty() || withoutKey.contains(control->objectName()))
            continue;
        const QString key = AccessKey(caption).toString();
        EXPECT_FALSE(key.isEmpty()) << control->objectName().toStdString() << " \"" << caption.toStdString()
                                    << "\" has no access key";
        if (key.isEmpty())
            continue;
        EXPECT_FALSE(taken.contains(key.toLower()))
            << caption.toStdString() << " and " << taken.value(key.toLower()).toStdString();
        taken.insert(key.toLower(), caption);
    }
}

} // namespace

// Nine languages ship, and each is the one a user of its locale gets without choosing.
TEST(ShippedTranslations, EachLanguageIsChosenFromItsLocale) {
    const struct {
        const char* locale;
        const char* file;
    } rows[] = {
        {"en_US", "English.txt"},  {"de_DE", "Deutsch.txt"},  {"de_AT", "Deutsch.txt"},
        {"fr_FR", "Français.txt"}, {"fr_CA", "Français.txt"}, {"es_ES", "Español.txt"},
        {"es_MX", "Español.txt"},  {"it_IT", "Italiano.txt"}, {"pt_BR", "Português (Brasil).txt"},
        {"pl_PL", "Polski.txt"},   {"ru_RU", "Русский.txt"},  {"zh_CN", "简体中文.txt"},
    };
    EXPECT_EQ(ShippedFiles().size(), 9);
    const ProgramFolder folder(QStringLiteral(KELVARA_SOURCE_DIR "/data/Kelvara"));
    for (const auto& row : rows) {
        StoredSettings stored;
        stored.TranslationPath = folder.translationFile(QStringLiteral("English.txt"));
        FollowUserLanguages(stored, folder, QLocale(QString::fromLatin1(row.locale)).uiLanguages());
        EXPECT_EQ(QFileInfo(stored.TranslationPath).fileName(), QString::fromUtf8(row.file)) << row.locale;
    }
}

// Every translation holds every key of the English template, in every section, with a value that
// reads without an escape error, is not empty where the English is not, and keeps the English
// text's placeholders; it holds no key the template lacks (a misspelt key would never be read).
TEST(ShippedTranslations, EveryFileHoldsEveryKeyOfEnglishWithItsPlaceholders) {
    const IniFile english(Folder + QStringLiteral("English.txt"));
    const QStringList sections = {MainSection, ConfigSection, TextsSection};
    ASSERT_EQ(english.keyNames(TextsSection).size(), UiTextCatalog().size());
    for (const QFileInfo& info : ShippedFiles()) {
        SCOPED_TRACE(info.fileName().toStdString());
        const IniFile file(info.filePath());
        for (const QString& section : sections) {
            for (const QString& key : english.keyNames(section)) {
                const std::string where = QString(section + QLatin1Char('.') + key).toStdString();
                ASSERT_TRUE(file.hasKey(section, key)) << where << " is missing";
                const QString original = UnescapeName(english.readString(section, key, {}));
                QString value;
                ASSERT_NO_THROW(value = UnescapeName(file.readString(section, key, {}))) << where;
                EXPECT_EQ(value.isEmpty(), original.isEmpty()) << where;
                EXPECT_EQ(Placeholders(value), Placeholders(original))
                    << where << ": " << value.toStdString();
            }
            for (const QString& key : file.keyNames(section))
                EXPECT_TRUE(english.hasKey(section, key)) << key.toStdString() << " is not a key of English";
        }
        if (info.fileName() != QLatin1String("English.txt"))
            EXPECT_FALSE(
                file.readString(QStringLiteral("Translation"), QStringLiteral("Language"), {}).isEmpty());
    }
}

// In every language, every labelled control of each settings page (with the Apply button beside
// the pages) and of the item and Add Applications dialogs has an access key, and no two of one
// page or dialog share one: the key would only move between them instead of choosing one.
TEST(ShippedTranslations, EachPageAndDialogGivesEveryLabelledControlItsOwnAccessKey) {
    QTemporaryDir scratch;
    TShortcutLink link;
    link.ShortcutFile = scratch.filePath(QStringLiteral("Item.lnk"));
    link.Target = QStringLiteral("/usr/bin/true");
    link.Write();
    for (const QFileInfo& info : ShippedFiles()) {
        SCOPED_TRACE(info.fileName().toStdString());
        LoadUiTexts(info.filePath());
        FakeConfigHost host;
        TfrmConfig dialog(host, TfrmConfig::Use::Template);
        ApplyTranslation(&dialog, info.filePath(), ConfigSection);
        const auto* pages = dialog.findChild<PageControl*>();
        QWidget* apply = dialog.findChild<QWidget*>(QStringLiteral("btnApply"));
        for (int i = 0; i < pages->count(); ++i) {
            SCOPED_TRACE(pages->page(i)->objectName().toStdString());
            ExpectOwnAccessKeys(LabelledControls(pages->page(i)) << apply);
        }

        TfrmItemProperties properties(link.ShortcutFile);
        ExpectOwnAccessKeys(LabelledControls(&properties), {});
        TfrmAddApplications add({});
        ExpectOwnAccessKeys(LabelledControls(&add), {});

        for (const char* key : {"Button.Yes", "Button.No"})
            EXPECT_FALSE(AccessKey(UiText(key, "")).isEmpty()) << key;
        EXPECT_NE(AccessKey(UiText("Button.Yes", "&Yes")), AccessKey(UiText("Button.No", "&No")));
    }
    LoadUiTexts(QString());
}
