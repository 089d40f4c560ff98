#include "platform/display_mode.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include "common/error.h"

namespace {

// A nested X server (Xephyr inside Xvfb) whose monitor offers a list of modes, as a real one does;
// Xvfb alone has a single fixed mode.
class DisplayModeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("Xephyr")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("xrandr")).isEmpty())
            return;
        // The servers choose free display numbers themselves and tell them on their output.
        QString outer;
        s_outer = startServer(
            QStringLiteral("Xvfb"),
            {QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1600x1200x24")}, {}, outer);
        if (!s_outer)
            return;
        s_nested = startServer(
            QStringLiteral("Xephyr"),
            {QStringLiteral("-resizeable"), QStringLiteral("-screen"), QStringLiteral("1280x1024")}, outer,
            s_display);
        if (!s_nested)
            return;
        qputenv("DISPLAY", s_display.toUtf8());
        static int argc = 3;
        static char name[] = "display_mode_test";
        static char platformOption[] = "-platform";
        static char platform[] = "xcb";
        static char* argv[] = {name, platformOption, platform, nullptr};
        s_app = new QGuiApplication(argc, argv);
    }

    static void TearDownTestSuite() {
        delete s_app;
        s_app = nullptr;
        for (QProcess* server : {s_nested, s_outer}) {
            if (server) {
                server->terminate();
                server->waitForFinished(5000);
                delete server;
            }
        }
    }

    void SetUp() override {
        if (!s_app)
            GTEST_SKIP() << "needs Xvfb, Xephyr and xrandr";
    }

    // The screen size xrandr reports, as "W x H".
    static QString currentSize() {
        QProcess xrandr;
        xrandr.start(QStringLiteral("xrandr"), {QStringLiteral("-display"), s_display});
        xrandr.waitForFinished(60000);
        const QRegularExpression current(QStringLiteral("current (\\d+ x \\d+)"));
        return current.match(QString::fromUtf8(xrandr.readAllStandardOutput())).captured(1);
    }

private:
    static QProcess* startServer(const QString& program, QStringList arguments, const QString& display,
                                 QString& started) {
        auto* server = new QProcess;
        if (!display.isEmpty()) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("DISPLAY"), display);
            server->setProcessEnvironment(environment);
        }
        server->setProcessChannelMode(QProcess::SeparateChannels);
        arguments << QStringLiteral("-nolisten") << QStringLiteral("tcp") << QStringLiteral("-displayfd")
                  << QStringLiteral("1");
        server->start(program, arguments);
        QByteArray number;
        while (!number.endsWith('\n') && server->waitForReadyRead(60000))
            number += server->readAllStandardOutput();
        if (!number.endsWith('\n')) {
            server->kill();
            server->waitForFinished(5000);
            delete server;
            return nullptr;
        }
        started = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
        return server;
    }

    static inline QGuiApplication* s_app = nullptr;
    static inline QProcess* s_outer = nullptr;
    static inline QProcess* s_nested = nullptr;
    static inline QString s_display;
};

} // namespace

TEST_F(DisplayModeTest, SwitchesToTheModeOfTheAskedSizeAndRefusesOthers) {
    ASSERT_EQ(currentSize(), QStringLiteral("1280 x 1024"));
    const struct {
        DisplayMode mode;
        const char* size;
    } rows[] = {
        {{1024, 768, 0}, "1024 x 768"},   // smaller
        {{1600, 1200, 0}, "1600 x 1200"}, // larger than the screen was
        {{800, 600, 0}, "800 x 600"},
    };
    for (const auto& row : rows) {
        ChangeDisplayModeXRandR(row.mode);
        EXPECT_EQ(currentSize(), QString::fromLatin1(row.size));
    }

    const struct {
        DisplayMode mode;
        const char* message;
    } refused[] = {
        {{1234, 567, 0}, "The display has no mode of 1234 x 567"},
        {{1024, 768, 85}, "The display has no mode of 1024 x 768 at 85 Hz"},
    };
    for (const auto& row : refused) {
        try {
            ChangeDisplayModeXRandR(row.mode);
            ADD_FAILURE() << row.message;
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), QString::fromLatin1(row.message));
        }
    }
    EXPECT_EQ(currentSize(), QStringLiteral("800 x 600"));
}
