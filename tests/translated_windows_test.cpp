#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeySequenceEdit>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTextEdit>

#include "common/ini_file.h"
#include "common/names.h"
#include "config/config_dialog.h"
#include "config/page_control.h"
#include "fake_config_host.h"
#include "formats/shortcut_link.h"
#include "platform/user_prompts.h"
#include "qt_app_environment.h"
#include "translation/translation.h"
#include "translation/ui_text.h"
#include "ui/add_applications_dialog.h"
#include "ui/error_window.h"
#include "ui/item_properties_dialog.h"
#include "ui/qt_translations.h"
#include "update/update_window.h"

namespace {

// Every text of the marked translation begins with this.
const QString Mark = QStringLiteral("\u0166");

class NoPrompts : public UserPrompts {
public:
    void message(QWidget*, const QString&, const QString&) override {}
    bool question(QWidget*, const QString&, const QString&, bool) override { return false; }
    QString askText(QWidget*, const QString&, const QString&, const QString& defaultText) override {
        return defaultText;
    }
};

// A translation made from the shipped template in which every text, in every section, is marked.
void WriteMarkedTranslation(const QString& path) {
    const IniFile english(QStringLiteral(KELVARA_SOURCE_DIR "/data/Translation/English.txt"));
    IniFile marked(path);
    for (const QString& section : english.sectionNames()) {
        for (const QString& key : english.keyNames(section)) {
            const QString text = UnescapeName(english.readString(section, key, {}));
            marked.writeString(section, key, EscapeName(text.isEmpty() ? text : Mark + text));
        }
    }
    marked.save();
}

bool HasLetter(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

// The texts a person reads on a window, each with where it stands: the title, captions, hints,
// names for screen readers, placeholder texts, group and page names, status lines and the items
// of lists that the program itself fills. What the user typed or owns (edit fields, the names of
// skins and translation files) and numbers are no texts of the program.
QStringList ShownTexts(QWidget* window) {
    QStringList texts;
    const auto add = [&texts](const QObject* where, const QString& what, const QString& text) {
        if (HasLetter(text))
            texts << where->objectName() + QLatin1Char(' ') + what + QStringLiteral(": ") + text;
    };
    add(window, QStringLiteral("title"), window->windowTitle());
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : widgets) {
        // What is hidden now is seen on another page, or never (a tab bar's scroll buttons).
        if (widget != window && !widget->isVisibleTo(window))
            continue;
        add(widget, QStringLiteral("hint"), widget->toolTip());
        add(widget, QStringLiteral("name"), widget->accessibleName());
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            add(widget, QStringLiteral("placeholder"), edit->placeholderText());
            continue;
        }
        if (auto* combo = qobject_cast<QComboBox*>(widget); combo && !combo->isEditable()) {
            if (combo->objectName() == QLatin1String("cbxTranslation"))
                continue;
            for (int i = 0; i < combo->count(); ++i)
                add(widget, QStringLiteral("item"), combo->itemText(i));
        }
        if (auto* group = qobject_cast<QGroupBox*>(widget))
            add(widget, QStringLiteral("title"), group->title());
        if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                add(widget, QStringLiteral("page"), tabs->tabText(i));
        }
        if (auto* status = qobject_cast<QStatusBar*>(widget))
            add(widget, QStringLiteral("status"), status->currentMessage());
        if (auto* rich = qobject_cast<QTextEdit*>(widget))
            add(widget, QStringLiteral("text"), rich->toPlainText());
        add(widget, QStringLiteral("caption"), widget->property("text").toString());
    }
    return texts;
}

void ExpectAllMarked(QWidget* window) {
    const QStringList texts = ShownTexts(window);
    EXPECT_GT(texts.size(), 2) << window->objectName().toStdString();
    for (const QString& text : texts) {
        const QString shown = text.section(QStringLiteral(": "), 1);
        EXPECT_TRUE(shown.contains(Mark))
            << "untranslated on " << window->objectName().toStdString() << ", " << text.toStdString();
    }
}

class TranslatedWindows : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(configHome.isValid());
        savedConfigHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
        // A skin with an author, a website and a description, so the Skins page shows them all.
        const QString shipped = QStringLiteral(KELVARA_SOURCE_DIR "/data/Aqua/");
        const QString skin = host.folder().userDir() + QStringLiteral("Aqua/");
        ASSERT_TRUE(QDir().mkpath(skin));
        for (const QString& file : QDir(shipped).entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(shipped + file, skin + file));
        translation = host.folder().userTranslationDir() + QStringLiteral("Marked.txt");
        WriteMarkedTranslation(translation);
        host.stored().TranslationPath = translation;
        LoadUiTexts(translation);
    }
    void TearDown() override {
        LoadUiTexts(QString());
        qputenv("XDG_CONFIG_HOME", savedConfigHome);
    }

    QTemporaryDir configHome;
    QByteArray savedConfigHome;
    FakeConfigHost host;
    QString translation;
};

} // namespace

// With a translation that has every key, no English is left on any page of the settings dialog.
TEST_F(TranslatedWindows, EveryPageOfTheSettingsDialogIsTranslated) {
    TfrmConfig dialog(host, TfrmConfig::Use::Interactive);
    dialog.setAttribute(Qt::WA_DeleteOnClose, false);
    ApplyTranslation(&dialog, translation, ConfigSection);
    dialog.show();
    auto* pages = dialog.findChild<PageControl*>();
    for (int i = 0; i < pages->count(); ++i) {
        SCOPED_TRACE(i);
        pages->setCurrentIndex(i);
        QCoreApplication::sendPostedEvents();
        ExpectAllMarked(&dialog);
    }
    dialog.close();
}

// A language picked while the dialog is open reaches its title, page names and composed lines.
TEST_F(TranslatedWindows, SwitchingTheLanguageRetranslatesTheOpenDialog) {
    LoadUiTexts(QString());
    TfrmConfig dialog(host, TfrmConfig::Use::Interactive);
    dialog.setAttribute(Qt::WA_DeleteOnClose, false);
    dialog.show();
    dialog.findChild<PageControl*>()->setCurrentIndex(1);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Kelvara Configuration"));
    QObject main;
    main.setObjectName(QStringLiteral("frmRunning"));
    TranslateAll(&main, {}, &dialog, translation);
    EXPECT_EQ(dialog.windowTitle(), Mark + QStringLiteral("Kelvara Configuration"));
    ExpectAllMarked(&dialog);
    dialog.close();
}

// The other windows: the item's properties, Add Applications, the error report, the download
// dialog and a message box.
TEST_F(TranslatedWindows, TheOtherWindowsAreTranslated) {
    TShortcutLink link;
    link.ShortcutFile = host.folder().userDir() + QStringLiteral("Item.lnk");
    link.Target = QStringLiteral("/usr/bin/true");
    link.Write();
    TfrmItemProperties properties(link.ShortcutFile);
    ExpectAllMarked(&properties);

    TfrmAddApplications add({{QStringLiteral("/x/a.desktop"), QStringLiteral("App"), {}, {}}});
    ExpectAllMarked(&add);

    TfrmError errors;
    ExpectAllMarked(&errors);

    NoPrompts prompts;
    TfrmUpdate update(host.folder(), prompts);
    ExpectAllMarked(&update);

    const std::unique_ptr<QDialog> box = MakeMessageBox(nullptr, Mark, Mark + QStringLiteral("text"));
    for (const QPushButton* button : box->findChildren<QPushButton*>())
        EXPECT_TRUE(button->text().contains(Mark)) << button->text().toStdString();
}

// Qt's own texts follow every shipped translation: the context menu of an edit field is in the
// translation's language (German: "&Rückgängig"), and English again once no translation is in use.
TEST(QtTranslations, TheEditFieldMenuFollowsEveryShippedTranslation) {
    if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                           QStringLiteral("/qtbase_de.qm")))
        GTEST_SKIP() << "Qt's translations (package qt6-translations-l10n) are not installed";
    const auto undoText = [] {
        QLineEdit edit;
        const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        return menu->actions().isEmpty() ? QString() : menu->actions().constFirst()->text();
    };
    const QString english = undoText();
    ASSERT_TRUE(english.startsWith(QStringLiteral("&Undo"))) << english.toStdString();

    const QDir shipped(QStringLiteral(KELVARA_SOURCE_DIR "/data/Translation/"));
    QSet<QString> seen;
    for (const QString& file : shipped.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
        const QString language = QtLanguageFor(shipped.filePath(file));
        const bool loaded = LoadQtTranslations(language);
        if (language == QLatin1String("en"))
            continue;
        EXPECT_TRUE(loaded) << file.toStdString() << " (" << language.toStdString() << ")";
        const QString shown = undoText();
        EXPECT_NE(shown, english) << file.toStdString();
        EXPECT_FALSE(seen.contains(shown)) << file.toStdString() << " shows " << shown.toStdString();
        seen.insert(shown);
        if (file == QLatin1String("Deutsch.txt"))
            EXPECT_TRUE(shown.startsWith(QStringLiteral("&Rückgängig"))) << shown.toStdString();
    }
    EXPECT_FALSE(LoadQtTranslations(QtLanguageFor(QString())));
    EXPECT_EQ(undoText(), english);
}
