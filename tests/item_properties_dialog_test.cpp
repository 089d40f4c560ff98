#include "ui/item_properties_dialog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include "common/error.h"
#include "qstring_printer.h"
#include "qt_app_environment.h"

namespace {

constexpr char kBrowser[] = "# Made by hand\n"
                            "[Desktop Entry]\n"
                            "Type=Application\n"
                            "Name=Web Browser\n"
                            "Name[de]=Webbrowser\n"
                            "Name[fr]=Navigateur\n"
                            "Comment=Browse the web\n"
                            "Exec=browser %u\n"
                            "Icon=web-browser\n"
                            "Actions=new-window;\n"
                            "X-Extra=kept\n"
                            "\n"
                            "[Desktop Action new-window]\n"
                            "Name=New Window\n"
                            "Name[de]=Neues Fenster\n"
                            "Exec=browser --new-window\n";

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString LabelOf(const TfrmItemProperties& dialog, QWidget* field) {
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->buddy() == field)
            return label->text();
    }
    return {};
}

} // namespace

// A desktop entry's Properties edit what the entry holds and what the user's language shows of
// it. Only the changed values are written; every other key, translation, group and comment stays.
TEST(ItemProperties, ADesktopEntryIsEditedKeepingEverythingElseItHolds) {
    QTemporaryDir dir;
    const QByteArray language = qgetenv("LANGUAGE");
    qputenv("LANGUAGE", "de");
    const struct {
        const char* what;
        const char* file;
        const char *shownName, *commandLabel;
        const char *name, *command, *comment, *icon;
        const char* written;
    } rows[] = {
        {"translated name, untranslated comment", kBrowser, "Webbrowser", "Co&mmand:", "Netz",
         "browser --private %u", "Privat", "web-browser",
         // GKeyFile sets the file's opening comment apart by an empty line.
         "# Made by hand\n\n[Desktop Entry]\nType=Application\nName=Web Browser\nName[de]=Netz\n"
         "Name[fr]=Navigateur\nComment=Privat\nExec=browser --private %u\nIcon=web-browser\n"
         "Actions=new-window;\nX-Extra=kept\n\n[Desktop Action new-window]\nName=New Window\n"
         "Name[de]=Neues Fenster\nExec=browser --new-window\n"},
        {"a link entry's target is its address",
         "[Desktop Entry]\nType=Link\nName=Docs\nURL=https://a.example/\n", "Docs", "&Target:", "Docs",
         "https://b.example/", "", "help",
         "[Desktop Entry]\nType=Link\nName=Docs\nURL=https://b.example/\nIcon=help\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const QString path = dir.filePath(QStringLiteral("entry.desktop"));
        WriteBytes(path, row.file);
        TfrmItemProperties dialog(path);
        ASSERT_NE(dialog.edtName(), nullptr);
        EXPECT_EQ(dialog.edtName()->text(), QString::fromUtf8(row.shownName));
        EXPECT_EQ(LabelOf(dialog, dialog.edtTarget()), QString::fromUtf8(row.commandLabel));
        EXPECT_EQ(dialog.edtArguments(), nullptr);
        dialog.edtName()->setText(QString::fromUtf8(row.name));
        dialog.edtTarget()->setText(QString::fromUtf8(row.command));
        dialog.edtDescription()->setText(QString::fromUtf8(row.comment));
        dialog.edtIconLocation()->setText(QString::fromUtf8(row.icon));
        dialog.Save();
        EXPECT_EQ(QString::fromUtf8(ReadBytes(path)), QString::fromUtf8(row.written));
    }

    // An entry linked from elsewhere is not written through the link: the error says why, and the
    // entry stays as it was.
    const QString original = dir.filePath(QStringLiteral("original.desktop"));
    WriteBytes(original, kBrowser);
    const QString linked = dir.filePath(QStringLiteral("linked.desktop"));
    ASSERT_TRUE(QFile::link(original, linked));
    TfrmItemProperties dialog(linked);
    dialog.edtName()->setText(QStringLiteral("Netz"));
    try {
        dialog.Save();
        ADD_FAILURE() << "a linked entry was written";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("symbolic link")))
            << error.message().toStdString();
    }
    EXPECT_EQ(ReadBytes(original), QByteArray(kBrowser));
    EXPECT_TRUE(QFileInfo(linked).isSymLink());

    qputenv("LANGUAGE", language);
}
