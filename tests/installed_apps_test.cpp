#include "tabs/installed_apps.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include "qstring_printer.h"
#include "support/fifo_unblocker.h"

namespace {

void WriteEntry(const QString& folder, const QString& fileName, const QByteArray& lines) {
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Desktop Entry]\nType=Application\nExec=true\n" + lines);
}

// GIO reads the XDG data folders and the user's language as the process starts using it, so the
// whole listing is checked in one test.
TEST(InstalledApps, ListsWhatTheMenuShowsInTheUsersLanguageAndFilters) {
    QTemporaryDir home;
    QTemporaryDir system;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    qputenv("XDG_DATA_DIRS", system.path().toUtf8());
    qputenv("LANGUAGE", "de");
    const QString apps = system.path() + QStringLiteral("/applications");
    WriteEntry(apps, QStringLiteral("org.example.Zebra.desktop"),
               "Name=Zebra Painter\nName[de]=Zebramaler\nGenericName=Paint Program\n"
               "GenericName[de]=Malprogramm\nKeywords=draw;picture;\nKeywords[de]=zeichnen;Bild;\n");
    WriteEntry(apps, QStringLiteral("alpha.desktop"), "Name=alpha\n");
    WriteEntry(apps, QStringLiteral("helper.desktop"), "Name=Helper\nNoDisplay=true\n");
    WriteEntry(apps, QStringLiteral("gone.desktop"), "Name=Gone\nHidden=true\n");
    WriteEntry(apps, QStringLiteral("missing.desktop"), "Name=Missing\nTryExec=kelvara-no-such-program\n");
    // The user's own entry of the same id hides the system one.
    WriteEntry(home.path() + QStringLiteral("/applications"), QStringLiteral("alpha.desktop"),
               "Name=Alpha Mine\n");
    // An entry in a folder below has the folder in its id; a FIFO named like an entry is passed
    // over without waiting for a writer, and so is one that hides a system entry of its id.
    WriteEntry(apps + QStringLiteral("/kde"), QStringLiteral("viewer.desktop"), "Name=Viewer\n");
    const QString fifo = home.path() + QStringLiteral("/applications/fifo.desktop");
    const QString hiding = home.path() + QStringLiteral("/applications/hidden-by-fifo.desktop");
    WriteEntry(apps, QStringLiteral("hidden-by-fifo.desktop"), "Name=Under\n");
    for (const QString& path : {fifo, hiding})
        ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    const FifoUnblocker unblocker({fifo, hiding});

    const QList<InstalledApp> listed = InstalledApplications();
    qunsetenv("LANGUAGE");
    EXPECT_FALSE(unblocker.unblocked()) << "the listing waited on a FIFO";
    ASSERT_EQ(listed.size(), 3);
    EXPECT_EQ(listed[0].name, QStringLiteral("Alpha Mine"));
    EXPECT_EQ(listed[0].desktopFile, home.path() + QStringLiteral("/applications/alpha.desktop"));
    EXPECT_EQ(listed[1].name, QStringLiteral("Viewer"));
    EXPECT_EQ(listed[1].desktopFile, apps + QStringLiteral("/kde/viewer.desktop"));
    const InstalledApp& zebra = listed[2];
    EXPECT_EQ(zebra.name, QStringLiteral("Zebramaler"));
    EXPECT_EQ(zebra.genericName, QStringLiteral("Malprogramm"));
    EXPECT_EQ(zebra.keywords, QStringList({QStringLiteral("zeichnen"), QStringLiteral("Bild")}));
    EXPECT_EQ(zebra.desktopFile, apps + QStringLiteral("/org.example.Zebra.desktop"));

    // Every word must be found in the name, the generic name or a keyword, letter case aside.
    EXPECT_TRUE(AppMatches(zebra, QStringLiteral("ZEBRA")));
    EXPECT_TRUE(AppMatches(zebra, QStringLiteral("malprog")));
    EXPECT_TRUE(AppMatches(zebra, QStringLiteral(" bild  zebra ")));
    EXPECT_FALSE(AppMatches(zebra, QStringLiteral("bild editor")));
    EXPECT_FALSE(AppMatches(zebra, QStringLiteral("draw"))); // the English keywords are not the user's
    EXPECT_TRUE(AppMatches(zebra, QStringLiteral("  ")));
}

} // namespace
