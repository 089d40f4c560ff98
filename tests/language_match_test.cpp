#include "translation/language_match.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "qstring_printer.h"

namespace {

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

// The user's languages come most wanted first. A file's Language key decides; a file written
// before the key existed is known by its name, in its own language or in English.
TEST(LanguageMatch, TheFileInTheUsersLanguageIsChosen) {
    QTemporaryDir dir;
    const QString folder = dir.path();
    Write(folder + QStringLiteral("/English.txt"), "[Main]\nfrmRunning.Exit1=E&xit\n");
    Write(folder + QStringLiteral("/Deutsch.txt"), "[Main]\n[Translation]\nLanguage=de\n");
    Write(folder + QStringLiteral("/Brasil.txt"), "[translation]\nlanguage = pt_BR\n");
    Write(folder + QStringLiteral("/Portugues.txt"), "[Translation]\nLanguage=pt\n");
    Write(folder + QStringLiteral("/French.txt"), "[Main]\n");
    Write(folder + QStringLiteral("/Nederlands.txt"), "[Main]\n");
    Write(folder + QStringLiteral("/notes.md"), "[Translation]\nLanguage=it\n");
    const struct {
        QStringList languages;
        const char* file;
    } rows[] = {
        {{QStringLiteral("de-DE"), QStringLiteral("de")}, "Deutsch.txt"},
        {{QStringLiteral("de-AT")}, "Deutsch.txt"},
        {{QStringLiteral("pt-BR")}, "Brasil.txt"},
        {{QStringLiteral("pt-PT")}, "Portugues.txt"},
        {{QStringLiteral("fr-FR")}, "French.txt"},                           // named in English
        {{QStringLiteral("nl-NL")}, "Nederlands.txt"},                       // named in its own language
        {{QStringLiteral("it-IT"), QStringLiteral("de-DE")}, "Deutsch.txt"}, // not a *.txt: no Italian
        {{QStringLiteral("fr-CA"), QStringLiteral("de")}, "French.txt"},     // the user's order first
        {{QStringLiteral("en-US")}, "English.txt"},
        {{QStringLiteral("ja-JP")}, ""},
        {{}, ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(TranslationForLanguages({folder}, row.languages), QString::fromUtf8(row.file))
            << row.languages.join(u' ').toStdString();
    EXPECT_EQ(TranslationForLanguages({folder + QStringLiteral("/missing")}, {QStringLiteral("de")}),
              QString());
}

// Only the first lines of a file are read for its Language key, so that hundreds of large files
// cost no long start: a key at the top of a large file counts, one far down does not (the file is
// then known by its name only).
TEST(LanguageMatch, OnlyTheFirstLinesOfAFileAreReadForItsLanguage) {
    QTemporaryDir dir;
    QByteArray filler;
    for (int i = 0; filler.size() < 40 * 1024; ++i)
        filler += "frmConfig.lblText" + QByteArray::number(i) + "=Some translated text\r\n";
    Write(dir.filePath(QStringLiteral("Top.txt")),
          "[Translation]\r\nLanguage=de\r\n[Config]\r\n" + filler.repeated(20));
    Write(dir.filePath(QStringLiteral("Late.txt")),
          "[Config]\r\n" + filler + "[Translation]\r\nLanguage=fr\r\n");
    EXPECT_EQ(TranslationForLanguages({dir.path()}, {QStringLiteral("de")}), QStringLiteral("Top.txt"));
    EXPECT_EQ(TranslationForLanguages({dir.path()}, {QStringLiteral("fr")}), QString());
}

// The shipped German translation says its language.
TEST(LanguageMatch, TheShippedTranslationsAreFound) {
    const QString folder = QStringLiteral(KELVARA_SOURCE_DIR "/data/Translation");
    EXPECT_EQ(TranslationForLanguages({folder}, {QStringLiteral("de-CH")}), QStringLiteral("Deutsch.txt"));
    EXPECT_EQ(TranslationForLanguages({folder}, {QStringLiteral("en-GB")}), QStringLiteral("English.txt"));
}
