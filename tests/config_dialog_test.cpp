#include "config/config_dialog.h"

#include <functional>

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QToolTip>

#include "common/ini_file.h"
#include "common/names.h"
#include "config/appearance_values.h"
#include "config/colour_swatch.h"
#include "config/general_page.h"
#include "config/page_control.h"
#include "config/plain_controls.h"
#include "config/startup_entry.h"
#include "fake_config_host.h"
#include "qt_app_environment.h"
#include "translation/translation.h"
#include "translation/ui_text.h"

namespace {

enum Page { General, Skins, Animation, Position, Appearance, About };

class ConfigDialog : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(configHome.isValid());
        savedConfigHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
    }
    void TearDown() override {
        delete dialog;
        qputenv("XDG_CONFIG_HOME", savedConfigHome);
    }

    // The dialog as the &Config command opens it, shown on the given page.
    void open(Page page = General) {
        dialog = new TfrmConfig(host, TfrmConfig::Use::Interactive);
        dialog->setAttribute(Qt::WA_DeleteOnClose, false);
        dialog->show();
        showPage(page);
    }
    void showPage(Page page) { dialog->findChild<PageControl*>()->setCurrentIndex(page); }
    template <typename T> T* control(const char* name) {
        T* found = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    bool applyEnabled() { return control<QPushButton>("btnApply")->isEnabled(); }
    QString entryPath() const { return configHome.filePath(QStringLiteral("autostart/Kelvara.desktop")); }

    QTemporaryDir configHome;
    QByteArray savedConfigHome;
    FakeConfigHost host;
    TfrmConfig* dialog = nullptr;
};

// Every key but the language, which the file names only once the user picks one.
TEST_F(ConfigDialog, OneChangeWritesEveryKeyButAnUnchosenLanguage) {
    open(Appearance);
    ASSERT_FALSE(QFile::exists(host.settingsFile()));
    control<QCheckBox>("chkAlpha")->click();

    EXPECT_EQ(host.calls, QStringList({QStringLiteral("dropPendingUpdateCheck"), QStringLiteral("save")}));
    const IniFile saved(host.settingsFile());
    qsizetype keys = 0;
    for (const QString& section : saved.sectionNames())
        keys += saved.keyNames(section).size();
    EXPECT_EQ(keys, 16);
    EXPECT_FALSE(saved.hasKey(QStringLiteral("General"), QStringLiteral("Translation")));
    EXPECT_EQ(saved.readString(QStringLiteral("Appearance"), QStringLiteral("Alpha"), {}),
              QStringLiteral("On"));
    EXPECT_TRUE(control<QSlider>("tbAlpha")->isEnabled());
    EXPECT_TRUE(applyEnabled());
    EXPECT_TRUE(host.pending().rebuild);
    EXPECT_FALSE(host.pending().skinReload);
}

TEST_F(ConfigDialog, PagesShowTheSettingsWithoutChangingThem) {
    Settings& s = host.stored().settings;
    s.Alpha = true;
    s.AlphaV = 100;
    s.Colorize = true;
    s.ColorizeHue = 120;
    s.InvertLum = true;
    s.OpenAnim = AnimMode::Linear;
    s.CloseAnim = AnimMode::Off;
    s.ClickOpen = true;
    s.Spacing = -5;
    host.stored().AOTMode = StackingMode::Aggressive;
    host.stored().AutoUpdate = true;
    const StoredSettings before = host.stored();

    open();
    for (int round = 0; round < 2; ++round) {
        for (Page page : {Skins, Animation, Position, Appearance, About, General})
            showPage(page);
    }
    EXPECT_TRUE(control<QRadioButton>("rbAOTAggressive")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("chkUpdate")->isChecked());
    showPage(Animation);
    EXPECT_TRUE(control<QRadioButton>("rbOLinear")->isChecked());
    EXPECT_TRUE(control<QRadioButton>("rbCOff")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("chkClickOpen")->isChecked());
    showPage(Appearance);
    EXPECT_EQ(control<QSlider>("tbAlpha")->value(), 100);
    EXPECT_EQ(control<QLabel>("lblAlpha")->text(), QStringLiteral("39%"));
    EXPECT_EQ(control<QSlider>("tbColorize")->value(), 120);
    EXPECT_EQ(control<ColourSwatch>("shpColourize")->colour(), QColor(0, 255, 0));
    EXPECT_TRUE(control<QCheckBox>("chkInvertLum")->isChecked());

    EXPECT_EQ(host.calls, QStringList(QStringLiteral("dropPendingUpdateCheck")));
    EXPECT_FALSE(QFile::exists(host.settingsFile()));
    EXPECT_FALSE(applyEnabled());
    EXPECT_FALSE(host.pending().rebuild || host.pending().skinReload);
    const Settings& after = host.stored().settings;
    EXPECT_EQ(std::tie(after.AlphaV, after.ColorizeHue, after.Spacing, after.OpenAnim, after.CloseAnim),
              std::tie(before.settings.AlphaV, before.settings.ColorizeHue, before.settings.Spacing,
                       before.settings.OpenAnim, before.settings.CloseAnim));
    EXPECT_EQ(host.stored().AOTMode, StackingMode::Aggressive);
}

TEST_F(ConfigDialog, OpacityTextAndHueSwatch) {
    EXPECT_EQ(OpacityText(200), QStringLiteral("78%"));
    EXPECT_EQ(OpacityText(245), QStringLiteral("96%"));
    EXPECT_EQ(OpacityText(100), QStringLiteral("39%"));
    EXPECT_EQ(HueSwatchColour(0), QColor(255, 0, 0));
    EXPECT_EQ(HueSwatchColour(30), QColor(255, 128, 0));
    EXPECT_EQ(HueSwatchColour(120), QColor(0, 255, 0));
    EXPECT_EQ(HueSwatchColour(240), QColor(0, 0, 255));

    open(Appearance);
    control<QSlider>("tbAlpha")->setValue(245);
    EXPECT_EQ(control<QLabel>("lblAlpha")->text(), QStringLiteral("96%"));
    EXPECT_EQ(host.stored().settings.AlphaV, 245);
    control<QSlider>("tbColorize")->setValue(240);
    EXPECT_EQ(control<ColourSwatch>("shpColourize")->colour(), QColor(0, 0, 255));
    EXPECT_EQ(host.stored().settings.ColorizeHue, 240);
    EXPECT_TRUE(host.pending().rebuild && host.pending().skinReload);
}

TEST_F(ConfigDialog, ApplyReloadsAndRedrawsBeforeItRebuilds) {
    open(Appearance);
    control<QCheckBox>("chkColorize")->click();
    control<QCheckBox>("chkAlpha")->click();
    host.calls.clear();
    control<QPushButton>("btnApply")->click();
    EXPECT_EQ(host.calls, QStringList({QStringLiteral("reloadSkin"), QStringLiteral("redrawAllTabs"),
                                       QStringLiteral("rebuildTabs")}));
    EXPECT_FALSE(applyEnabled());
    EXPECT_FALSE(host.pending().rebuild || host.pending().skinReload);

    // Only a reload pending: no rebuild.
    control<QCheckBox>("chkInvertLum")->click();
    host.calls.clear();
    control<QPushButton>("btnApply")->click();
    EXPECT_EQ(host.calls, QStringList({QStringLiteral("reloadSkin"), QStringLiteral("redrawAllTabs")}));
}

TEST_F(ConfigDialog, ClosingRebuildsOnlyWithUnappliedChanges) {
    open(Appearance);
    control<QSlider>("tbColorize")->setValue(200);
    host.calls.clear();
    dialog->close();
    EXPECT_EQ(host.calls, QStringList({QStringLiteral("configClosed"), QStringLiteral("rebuildTabs")}));
    // The flags outlive the dialog.
    EXPECT_TRUE(host.pending().skinReload);
    delete dialog;

    open(Appearance);
    EXPECT_FALSE(applyEnabled());
    host.calls.clear();
    dialog->close();
    EXPECT_EQ(host.calls, QStringList(QStringLiteral("configClosed")));
}

TEST_F(ConfigDialog, StartupEntryIsCreatedLeftAloneAndDeleted) {
    EXPECT_EQ(StartupEntryPath(), entryPath());
    open();
    auto* box = control<QCheckBox>("cbkStartup");
    EXPECT_FALSE(box->isChecked());
    box->click();
    QFile entry(entryPath());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    entry.close();
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(text.contains(
        QStringLiteral("\nComment=Starts Kelvara automatically when you start your computer.")));
    EXPECT_TRUE(
        text.contains(QStringLiteral("\nExec=\"") + host.folder().executablePath() + QStringLiteral("\"\n")));

    box->click();
    EXPECT_FALSE(QFile::exists(entryPath()));

    // Made by hand while the box shows off: checking the box leaves it as it is.
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nName=mine\n");
    entry.close();
    EXPECT_FALSE(box->isChecked());
    box->click();
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_EQ(entry.readAll(), QByteArray("[Desktop Entry]\nName=mine\n"));
    entry.close();

    // Deleted by hand: the box shows it the next time the page is shown.
    ASSERT_TRUE(entry.remove());
    showPage(Animation);
    showPage(General);
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(host.calls.contains(QStringLiteral("save")));
}

TEST_F(ConfigDialog, InAnInstallationTheStartupEntryRunsTheInstalledProgramInTheUsersFolder) {
    QTemporaryDir scratch;
    const QString prefix = scratch.path() + u"/prefix";
    QDir().mkpath(prefix + u"/share/kelvara");
    host.useFolder(ProgramFolder(prefix + u"/bin/kelvara", scratch.path() + u"/data"));
    open();
    control<QCheckBox>("cbkStartup")->click();
    QFile entry(entryPath());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    EXPECT_TRUE(text.contains(u"\nExec=\"" + prefix + u"/bin/kelvara\"\n")) << text.toStdString();
    EXPECT_TRUE(text.contains(u"\nPath=" + scratch.path() + u"/data/kelvara/\n")) << text.toStdString();
    control<QCheckBox>("cbkStartup")->click();
}

// The entry names the program in TryExec, so that the desktop skips it once the program is gone.
// An entry written by an older version, word for word, gets the line at the next save; any other
// file is the user's and stays as it is.
TEST_F(ConfigDialog, StartupEntriesNameTheProgramToTryAndOlderOnesAreRewritten) {
    const QString exe = QStringLiteral("/opt/my apps/Kelvara");
    const QByteArray current = StartupEntryText(exe, QStringLiteral("/opt/my apps/"));
    EXPECT_TRUE(current.contains("\nTryExec=/opt/my apps/Kelvara\n")) << current.constData();
    QByteArray older = current;
    older.replace("TryExec=/opt/my apps/Kelvara\n", "");
    QByteArray edited = older;
    edited.replace("Terminal=false", "Terminal=false\nX-GNOME-Autostart-Delay=5");
    struct Row {
        QByteArray before;
        QString exe;
        QByteArray after;
    };
    const Row rows[] = {
        {older, exe, current},
        {current, exe, current},
        {edited, exe, edited},
        // Written for a program folder elsewhere: not this program's entry.
        {older, QStringLiteral("/elsewhere/Kelvara"), older},
    };
    QDir().mkpath(configHome.filePath(QStringLiteral("autostart")));
    for (const Row& row : rows) {
        QFile entry(entryPath());
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly | QIODevice::Truncate));
        entry.write(row.before);
        entry.close();
        UpdateStartupEntry(entryPath(), row.exe, QStringLiteral("/opt/my apps/"));
        ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
        EXPECT_EQ(entry.readAll(), row.after) << row.before.constData();
        entry.close();
    }
    // No entry: none is made.
    QFile::remove(entryPath());
    UpdateStartupEntry(entryPath(), exe, QStringLiteral("/opt/my apps/"));
    EXPECT_FALSE(QFile::exists(entryPath()));
}

// In a Wayland session the General page says beside the key field that the key cannot be grabbed
// for the whole desktop and which command to bind instead; elsewhere it says nothing.
TEST_F(ConfigDialog, TheGeneralPageNamesTheCommandToBindInAWaylandSession) {
    const QByteArray savedType = qgetenv("XDG_SESSION_TYPE");
    const QByteArray savedDisplay = qgetenv("WAYLAND_DISPLAY");
    struct Row {
        const char* type;
        const char* display;
        bool shown;
    };
    for (const Row& row : {Row{"x11", "", false}, Row{"wayland", "", true}, Row{"", "wayland-0", true},
                           Row{"Wayland", "", true}}) {
        qputenv("XDG_SESSION_TYPE", row.type);
        qputenv("WAYLAND_DISPLAY", row.display);
        open();
        auto* note = control<QLabel>("lblWaylandKey");
        auto* key = control<QKeySequenceEdit>("edtShortcutKey");
        EXPECT_EQ(note->isVisible(), row.shown) << row.type << " " << row.display;
        EXPECT_TRUE(note->text().contains(QStringLiteral("kelvara --open")));
        if (row.shown) {
            // Below the key field, within the page, and above the donation link.
            EXPECT_GE(note->y(), key->geometry().bottom());
            EXPECT_LE(note->geometry().right(), note->parentWidget()->width());
            EXPECT_GT(control<QWidget>("lblDonation")->y(), note->geometry().bottom());
        }
        delete dialog;
        dialog = nullptr;
    }
    qputenv("XDG_SESSION_TYPE", savedType);
    qputenv("WAYLAND_DISPLAY", savedDisplay);
}

TEST_F(ConfigDialog, ExecLineQuotesThePath) {
    const QByteArray text =
        StartupEntryText(QStringLiteral("/opt/my apps/$HOME/50%/Kelvara"), QStringLiteral("/opt/"));
    EXPECT_TRUE(text.contains("\nExec=\"/opt/my apps/\\\\$HOME/50%%/Kelvara\"\n")) << text.constData();
}

TEST_F(ConfigDialog, LanguageListSelectsTheActiveFileAndSwitches) {
    const QString folder = host.folder().userTranslationDir();
    for (const char* name : {"English.txt", "Deutsch.txt", "readme.md"})
        QFile(folder + QString::fromLatin1(name)).open(QIODevice::WriteOnly);
    host.stored().TranslationPath = folder + QStringLiteral("deutsch.TXT");
    open();
    auto* list = control<QComboBox>("cbxTranslation");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0), QStringLiteral("Deutsch"));
    EXPECT_EQ(list->itemText(1), QStringLiteral("English"));
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(host.calls, QStringList(QStringLiteral("dropPendingUpdateCheck")));

    EXPECT_FALSE(host.stored().TranslationChosen); // showing the language in use is no choice
    list->setCurrentIndex(1);
    EXPECT_EQ(host.stored().TranslationPath, folder + QStringLiteral("English.txt"));
    EXPECT_TRUE(host.stored().TranslationChosen);
    EXPECT_EQ(host.calls.mid(1), QStringList({QStringLiteral("save"), QStringLiteral("translateAll")}));
    EXPECT_EQ(
        IniFile(host.settingsFile()).readString(QStringLiteral("General"), QStringLiteral("Translation"), {}),
        QStringLiteral("English.txt"));
}

TEST_F(ConfigDialog, LanguageListHoldsTheUsersTranslationsBeforeTheShippedOnes) {
    QTemporaryDir scratch;
    const QString shipped = scratch.path() + u"/prefix/share/kelvara/Translation/";
    const QString user = scratch.path() + u"/data/kelvara/Translation/";
    QDir().mkpath(shipped);
    QDir().mkpath(user);
    for (const QString& file : QStringList{shipped + u"English.txt", shipped + u"Deutsch.txt",
                                           user + u"deutsch.txt", user + u"Mine.txt"})
        QFile(file).open(QIODevice::WriteOnly);
    host.useFolder(ProgramFolder(scratch.path() + u"/prefix/bin/kelvara", scratch.path() + u"/data"));
    host.stored().TranslationPath = shipped + u"English.txt";
    open();
    auto* list = control<QComboBox>("cbxTranslation");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(0), QStringLiteral("deutsch")); // the user's hides the shipped Deutsch
    EXPECT_EQ(list->itemText(1), QStringLiteral("English"));
    EXPECT_EQ(list->itemText(2), QStringLiteral("Mine"));
    EXPECT_EQ(list->currentIndex(), 1);
    list->setCurrentIndex(0);
    EXPECT_EQ(host.stored().TranslationPath, user + u"deutsch.txt");
}

TEST_F(ConfigDialog, GeneralAndAnimationHandlers) {
    open();
    control<QRadioButton>("rbAOTAggressive")->click();
    EXPECT_EQ(host.stored().AOTMode, StackingMode::Aggressive);
    control<QRadioButton>("rbAOTDisabled")->click();
    EXPECT_EQ(host.stored().AOTMode, StackingMode::Disabled);
    control<QCheckBox>("chkUpdate")->click();
    EXPECT_TRUE(host.stored().AutoUpdate);
    showPage(Animation);
    control<QRadioButton>("rbOOff")->click();
    control<QRadioButton>("rbCLinear")->click();
    control<QCheckBox>("chkClickOpen")->click();
    EXPECT_EQ(host.stored().settings.OpenAnim, AnimMode::Off);
    EXPECT_EQ(host.stored().settings.CloseAnim, AnimMode::Linear);
    EXPECT_TRUE(host.stored().settings.ClickOpen);
    // The two groups select independently.
    EXPECT_TRUE(control<QRadioButton>("rbOOff")->isChecked());
    EXPECT_EQ(host.calls.mid(1).join(QLatin1Char(' ')),
              QStringLiteral("timerOn save timerOff save save save save save"));
    EXPECT_FALSE(applyEnabled());
    const IniFile saved(host.settingsFile());
    EXPECT_EQ(saved.readString(QStringLiteral("Animation"), QStringLiteral("Close"), {}),
              QStringLiteral("Linear"));
    EXPECT_EQ(saved.readString(QStringLiteral("General"), QStringLiteral("AOTMode"), {}),
              QStringLiteral("Disabled"));
}

// The shortcut field lets the grabbed key go while it has the focus (the key would never reach it),
// keeps one key combination of what is typed, saves it, and has it grabbed once it is left; a
// cleared field switches the shortcut off.
TEST_F(ConfigDialog, ShortcutKeyFieldRecordsOneCombination) {
    open();
    auto* field = control<QKeySequenceEdit>("edtShortcutKey");
    EXPECT_EQ(field->keySequence(), QKeySequence(QStringLiteral("Ctrl+Alt+K")));
    QApplication::setActiveWindow(dialog);
    field->setFocus();
    ASSERT_TRUE(field->hasFocus());
    EXPECT_EQ(host.calls.last(), QStringLiteral("releaseKey"));
    for (const int key : {Qt::Key_F9, Qt::Key_L}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::MetaModifier);
        QCoreApplication::sendEvent(QApplication::focusWidget(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::MetaModifier);
        QCoreApplication::sendEvent(QApplication::focusWidget(), &release);
    }
    control<QComboBox>("cbxTranslation")->setFocus();
    EXPECT_EQ(host.stored().ShortcutKey, QStringLiteral("Meta+F9"));
    EXPECT_EQ(field->keySequence(), QKeySequence(QStringLiteral("Meta+F9")));
    EXPECT_EQ(
        IniFile(host.settingsFile()).readString(QStringLiteral("General"), QStringLiteral("ShortcutKey"), {}),
        QStringLiteral("Meta+F9"));
    EXPECT_EQ(host.calls.last(), QStringLiteral("grabKey"));

    field->clear();
    EXPECT_TRUE(host.stored().ShortcutKey.isEmpty());
}

TEST_F(ConfigDialog, DonationLinkOpensItsPage) {
    open();
    auto* link = control<QLabel>("lblDonation");
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), link->mapToGlobal(QPointF(2, 2)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(link, &release);
    EXPECT_EQ(host.calls.last(), QStringLiteral("openUrl ") + GeneralPage::donationUrl());
    EXPECT_TRUE(GeneralPage::donationUrl().startsWith(QStringLiteral("https://")));
}

TEST_F(ConfigDialog, ApplyIsHiddenOnTheAboutPage) {
    open(About);
    EXPECT_FALSE(control<QPushButton>("btnApply")->isVisible());
    showPage(Appearance);
    EXPECT_TRUE(control<QPushButton>("btnApply")->isVisible());
    EXPECT_EQ(dialog->size(), QSize(401, 334));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Kelvara Configuration"));
}

QString ShippedTranslation(const char* name) {
    return QStringLiteral(KELVARA_SOURCE_DIR "/data/Translation/") + QString::fromLatin1(name);
}

// A translation of the settings dialog made from the shipped template: each caption is
// caption(built-in caption), each hint hint(built-in hint).
QString WriteTranslation(const QString& path, const std::function<QString(const QString&)>& caption,
                         const std::function<QString(const QString&)>& hint) {
    const IniFile shipped(ShippedTranslation("English.txt"));
    QByteArray text = "[Config]\r\n";
    for (const QString& key : shipped.keyNames(ConfigSection)) {
        const QString value = UnescapeName(shipped.readString(ConfigSection, key, {}));
        const QString translated = key.endsWith(QLatin1String(".Hint")) ? hint(value) : caption(value);
        text += (key + QLatin1Char('=') + EscapeName(translated) + QStringLiteral("\r\n")).toUtf8();
    }
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
}

// The controls a person sees on the dialog's current page, and the Apply button.
QList<QWidget*> VisibleControls(const TfrmConfig* dialog) {
    QList<QWidget*> controls;
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        if (widget->isVisible() && !name.isEmpty() && !name.startsWith(QLatin1String("qt_")) &&
            !qobject_cast<PageControl*>(widget) && !qobject_cast<ConfigPage*>(widget))
            controls << widget;
    }
    return controls;
}

// Every control of every page lies whole inside its container and the dialog, clear of the others,
// in every shipped language and however long the translated captions are: a caption too long for
// its room is cut (and shown whole in its hint), not the control pushed away (a long "Language:"
// once left the language box no drop arrow, or moved it off the page). The page names, the
// preview's title and the Apply button fit too. English and German show every caption whole.
TEST_F(ConfigDialog, EveryControlStaysWholeAndApartWhateverTheCaptions) {
    const QString longCaptions = WriteTranslation(
        QString(host.folder().userTranslationDir() + QStringLiteral("Long.txt")),
        [](const QString& caption) {
            return caption.isEmpty()
                       ? caption
                       : QString(caption + QStringLiteral(" and so on")).leftJustified(80, u'x');
        },
        [](const QString& hint) { return hint; });
    struct Row {
        QString file;
        bool whole;
    };
    QList<Row> rows = {{longCaptions, false}};
    for (const QFileInfo& shipped : QDir(ShippedTranslation("")).entryInfoList({QStringLiteral("*.txt")}))
        rows.append({shipped.filePath(),
                     shipped.fileName() == u"English.txt" || shipped.fileName() == u"Deutsch.txt"});
    ASSERT_EQ(rows.size(), 10);
    for (const auto& row : std::as_const(rows)) {
        SCOPED_TRACE(row.file.toStdString());
        LoadUiTexts(row.file);
        open();
        ApplyTranslation(dialog, row.file, ConfigSection);
        const auto* tabs = dialog->findChild<QTabBar*>();
        for (int i = 0; i < tabs->count(); ++i) {
            EXPECT_TRUE(tabs->rect().contains(tabs->tabRect(i))) << tabs->tabText(i).toStdString();
            EXPECT_EQ(tabs->tabToolTip(i), tabs->tabText(i));
        }
        for (const Page page : {General, Skins, Animation, Position, Appearance, About}) {
            showPage(page);
            // Changed captions ask for a new arrangement through posted events.
            QCoreApplication::sendPostedEvents();
            const QList<QWidget*> controls = VisibleControls(dialog);
            ASSERT_GT(controls.size(), 2) << "page " << page;
            for (QWidget* control : controls) {
                const std::string name = control->objectName().toStdString();
                EXPECT_TRUE(control->parentWidget()->rect().contains(control->geometry())) << name;
                EXPECT_TRUE(dialog->rect().contains(QRect(control->mapTo(dialog, QPoint()), control->size())))
                    << name;
                EXPECT_GT(control->width(), 0) << name;
                if (const auto* fit = dynamic_cast<const CaptionFit*>(control); fit && row.whole)
                    EXPECT_FALSE(fit->captionCut())
                        << name << ": " << control->property("text").toString().toStdString();
                for (QWidget* other : controls) {
                    if (other == control || other->isAncestorOf(control) || control->isAncestorOf(other))
                        continue;
                    EXPECT_FALSE(QRect(control->mapTo(dialog, QPoint()), control->size())
                                     .intersects(QRect(other->mapTo(dialog, QPoint()), other->size())))
                        << name << " overlaps " << other->objectName().toStdString();
                }
            }
        }
        // The language box keeps its width and its drop arrow.
        EXPECT_EQ(control<QComboBox>("cbxTranslation")->width(), 145);
        const auto* preview = control<QGroupBox>("gbPreview");
        EXPECT_LE(preview->fontMetrics().horizontalAdvance(preview->title()) + 16, preview->width())
            << preview->title().toStdString();
        delete dialog;
        dialog = nullptr;
    }
    LoadUiTexts(QString());
}

// Captions and hints of a translation are shown as text even when they look like markup: a
// heading is not drawn big, a picture is not loaded.
TEST_F(ConfigDialog, TranslatedCaptionsAndHintsShowAsPlainText) {
    const QString markup = QStringLiteral("<h1>BIG</h1><img src=\"/nowhere/local.png\">");
    open();
    ApplyTranslation(dialog,
                     WriteTranslation(
                         QString(host.folder().userTranslationDir() + QStringLiteral("Markup.txt")),
                         [&](const QString&) { return markup; }, [&](const QString&) { return markup; }),
                     ConfigSection);
    int checked = 0;
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        if (!dynamic_cast<const CaptionFit*>(widget) || widget->property("text").toString() != markup)
            continue;
        const std::string name = widget->objectName().toStdString();
        ++checked;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_GE(label->sizeHint().width(), label->fontMetrics().horizontalAdvance(markup)) << name;
        }
        QHelpEvent help(QEvent::ToolTip, QPoint(1, 1), widget->mapToGlobal(QPoint(1, 1)));
        QCoreApplication::sendEvent(widget, &help);
        EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("&lt;h1&gt;BIG&lt;/h1&gt;&lt;img"))) << name;
        QToolTip::hideText();
    }
    EXPECT_GE(checked, 20);
}

} // namespace
