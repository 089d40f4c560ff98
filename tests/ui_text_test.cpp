#include "translation/ui_text.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include "common/error.h"
#include "common/ini_file.h"
#include "common/names.h"
#include "qstring_printer.h"
#include "tabs/order_file.h"
#include "tabs/tab.h"

namespace {

class UiTexts : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void TearDown() override { LoadUiTexts(QString()); }

    QString write(const QByteArray& content) {
        const QString path = dir.filePath(QStringLiteral("Lang.txt"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        return path;
    }

    QTemporaryDir dir;
};

// The C++ text of a run of adjacent string literals ("a" "b"), with its escapes read.
QString LiteralText(const QString& literals) {
    static const QRegularExpression piece(QStringLiteral(R"re("((?:[^"\\]|\\.)*)")re"));
    QString text;
    for (const QRegularExpressionMatch& match : piece.globalMatch(literals)) {
        const QString raw = match.captured(1);
        for (qsizetype i = 0; i < raw.size(); ++i) {
            if (raw[i] != u'\\' || i + 1 == raw.size()) {
                text += raw[i];
                continue;
            }
            const QChar next = raw[++i];
            text += next == u'n' ? QChar(u'\n') : next == u'r' ? QChar(u'\r') : next;
        }
    }
    return text;
}

} // namespace

TEST_F(UiTexts, TheActiveTranslationGivesTheTextAndEnglishFillsEveryGap) {
    EXPECT_EQ(UiText("Prompt.NewTabTitle", "New Tab"), QStringLiteral("New Tab")); // nothing loaded
    LoadUiTexts(write("[texts]\n"
                      "prompt.newtabtitle = Neuer Tab \n"
                      "Error.TabNotRenamed=%252 bleibt: %251 nicht umbenannt\n"
                      "Errors.Heading=Fehler%3A%0D%0Azweite Zeile\n"
                      "Errors.Clear=Leeren%ZZ\n"
                      "[Config]\n"
                      "Button.OK=Config section is not the texts section\n"));
    const struct {
        QString shown;
        const char* expected;
    } rows[] = {
        // Key and section in any letter case, blanks around the value dropped.
        {UiText("Prompt.NewTabTitle", "New Tab"), "Neuer Tab"},
        // A translation may move the placeholders.
        {UiText("Error.TabNotRenamed", "Unable to rename the tab %1 to %2.")
             .arg(QStringLiteral("Alt"), QStringLiteral("Neu")),
         "Neu bleibt: Alt nicht umbenannt"},
        // Escapes read as in every translated value, line breaks included.
        {UiText("Errors.Heading", "Errors were encountered:"), "Fehler:\r\nzweite Zeile"},
        // A malformed escape never costs the user the message: it stays English.
        {UiText("Errors.Clear", "Clear"), "Clear"},
        // A key the file lacks, or holds only in another section.
        {UiText("Button.OK", "OK"), "OK"},
        {UiText("Errors.Title", "Ooops!"), "Ooops!"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.shown, QString::fromUtf8(row.expected));

    LoadUiTexts(dir.filePath(QStringLiteral("missing.txt")));
    EXPECT_EQ(UiText("Prompt.NewTabTitle", "New Tab"), QStringLiteral("New Tab"));
}

TEST_F(UiTexts, WrittenTextsReadBackAsTheirEnglish) {
    IniFile file(dir.filePath(QStringLiteral("English.txt")));
    WriteUiTexts(file);
    file.save();
    const IniFile written(file.path());
    QStringList keys;
    for (const CatalogText& text : UiTextCatalog())
        keys << QString::fromLatin1(text.key);
    EXPECT_EQ(written.keyNames(TextsSection), keys);
    EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()).size(), keys.size()) << "a key is listed twice";

    LoadUiTexts(file.path());
    for (const CatalogText& text : UiTextCatalog())
        EXPECT_EQ(UiText(text.key, "?"), QString::fromUtf8(text.english)) << text.key;
}

// The catalogue the template is written from names every text the program shows through UiText,
// with the same English: a text missing from it could never be translated, and one whose English
// differs would be translated from the wrong original.
TEST_F(UiTexts, TheCatalogueListsEveryTextTheSourcesShow) {
    QMap<QString, QString> catalogue;
    for (const CatalogText& text : UiTextCatalog())
        catalogue.insert(QString::fromLatin1(text.key), QString::fromUtf8(text.english));

    // The application's own texts (UiText) and those the layers below it give (UserText).
    static const QRegularExpression call(
        QStringLiteral(R"re((?:UiText|UserText)\(\s*"([^"]+)",\s*((?:"(?:[^"\\]|\\.)*"\s*)+)\))re"));
    QSet<QString> used;
    QDirIterator sources(QStringLiteral(KELVARA_SOURCE_DIR "/src"),
                         {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                         QDirIterator::Subdirectories);
    while (sources.hasNext()) {
        const QString path = sources.next();
        if (path.endsWith(QLatin1String("/ui_text_catalog.cpp")))
            continue;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString source = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch& match : call.globalMatch(source)) {
            const QString key = match.captured(1);
            used.insert(key);
            ASSERT_TRUE(catalogue.contains(key)) << key.toStdString() << " in " << path.toStdString();
            EXPECT_EQ(LiteralText(match.captured(2)), catalogue.value(key))
                << key.toStdString() << " in " << path.toStdString();
        }
    }
    for (const QString& key : catalogue.keys())
        EXPECT_TRUE(used.contains(key)) << key.toStdString() << " is listed but never shown";
}

// A text made below the translations (a core error, a launch failure with its reason) reaches the
// user in the translation in use, each key looked up on its own: a key the translation lacks stays
// English inside an otherwise translated message. Its English, which logs and tests read, stays.
TEST_F(UiTexts, CoreTextsAreWordedInTheTranslationInUseAndEnglishFillsTheGaps) {
    TTab tab;
    TItem item;
    item.Data.Name = QStringLiteral("Notiz 100%1"); // no target; a placeholder in a value stays as it is
    tab.Items.append(item);
    UserText launchFailure;
    tab.ExecuteItem(0, [&](const UserText& failure) { launchFailure = failure; });
    UserText orderError;
    try {
        SetOrderPositions(dir.path(), {QStringLiteral("a\nb")}, 0);
    } catch (const Error& e) {
        orderError = e.text();
        EXPECT_EQ(e.message(), QStringLiteral("'a\nb' cannot be kept in an order file"));
    }
    const QString partial = write("[Texts]\n"
                                  "Launch.Failed=%252 %3C- %251\n" // the reason's key is missing
                                  "Order.NotKept=%251 passt nicht\n");
    const struct {
        QString translation;
        UserText text;
        const char* expected;
    } rows[] = {
        {QStringLiteral(KELVARA_SOURCE_DIR "/data/Translation/Deutsch.txt"), launchFailure,
         "„Notiz 100%1“ kann nicht gestartet werden: die Verknüpfung hat kein Ziel"},
        {QStringLiteral(KELVARA_SOURCE_DIR "/data/Translation/Deutsch.txt"), orderError,
         "„a\nb“ kann nicht in einer Reihenfolgedatei gespeichert werden"},
        {partial, launchFailure, "the shortcut has no target <- Notiz 100%1"},
        {partial, orderError, "a\nb passt nicht"},
        {QString(), launchFailure, "Unable to start \"Notiz 100%1\": the shortcut has no target"},
    };
    for (const auto& row : rows) {
        LoadUiTexts(row.translation);
        EXPECT_EQ(Worded(row.text), QString::fromUtf8(row.expected)) << row.translation.toStdString();
    }
    EXPECT_EQ(launchFailure.english(),
              QStringLiteral("Unable to start \"Notiz 100%1\": the shortcut has no target"));
}
