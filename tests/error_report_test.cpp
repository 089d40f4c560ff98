#include "ui/error_report.h"

#include <stdexcept>

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>

#include "common/error.h"
#include "core/application.h"
#include "ui/error_window.h"

namespace {

KelvaraApplication& App() {
    static int argc = 1;
    static char name[] = "error_report_test";
    static char* argv[] = {name, nullptr};
    static KelvaraApplication app(argc, argv);
    return app;
}

// Starts every test with an empty, hidden report (the window lives for the whole run).
class ErrorReport : public testing::Test {
protected:
    void SetUp() override {
        App();
        if (ErrorDialog())
            ErrorDialog()->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    }
};

QStringList Lines(const QString& a, const QString& b = {}, const QString& c = {}) {
    QStringList lines = {a, b, c};
    lines.removeAll(QString());
    return lines;
}

// Raises from its event handler.
class ThrowingObject : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User)
            throw Error(QStringLiteral("raised in an event handler"));
        return QObject::event(e);
    }
};

} // namespace

TEST_F(ErrorReport, CollectsLinesUntilClearedAndKeepsThemWhenClosed) {
    ReportError(QStringLiteral("first"));
    TfrmError* dialog = ErrorDialog();
    ReportError(QStringLiteral("second"));
    ReportError(QStringLiteral("third"));
    EXPECT_EQ(ErrorDialog(), dialog) << "one dialog for the whole run";
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->Lines(),
              Lines(QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")));

    dialog->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    EXPECT_FALSE(dialog->isVisible());
    ReportError(QStringLiteral("after clear"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->Lines(), Lines(QStringLiteral("after clear")));

    dialog->close(); // the close box
    EXPECT_FALSE(dialog->isVisible());
    ReportError(QStringLiteral("after close"));
    EXPECT_EQ(ErrorDialog(), dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->Lines(), Lines(QStringLiteral("after clear"), QStringLiteral("after close")));
}

TEST_F(ErrorReport, ErrorsLeavingEventHandlersAreReportedAndTheLoopGoesOn) {
    QTimer raising;
    raising.setSingleShot(true);
    int raised = 0;
    QObject::connect(&raising, &QTimer::timeout, [&] {
        ++raised;
        if (raised == 1)
            throw Error(QStringLiteral("raised in a timer"));
        throw std::runtime_error("a library failure");
    });
    ThrowingObject target;
    QTimer::singleShot(0, [&] { raising.start(0); });
    QTimer::singleShot(20, [&] { QCoreApplication::postEvent(&target, new QEvent(QEvent::User)); });
    // The same timer and its connection still work after an exception went through them.
    QTimer::singleShot(40, [&] { raising.start(0); });
    QTimer::singleShot(80, &App(), &QCoreApplication::quit);
    App().exec();

    EXPECT_EQ(raised, 2);
    ASSERT_NE(ErrorDialog(), nullptr);
    EXPECT_EQ(ErrorDialog()->Lines(),
              Lines(QStringLiteral("raised in a timer"), QStringLiteral("raised in an event handler"),
                    QStringLiteral("a library failure")));
}
