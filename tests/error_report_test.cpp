#include "ui/error_report.h"

#include <functional>
#include <memory>
#include <stdexcept>

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "common/error.h"
#include "ui/error_window.h"
#include "support/app_environment.h"

namespace {

AppEnvironment* const Environment = RegisterAppEnvironment();

KelvaraApplication& App() {
    return Environment->app();
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

// Raises from its event handler, after it has scheduled what comes next.
class ThrowingObject : public QObject {
public:
    std::function<void()> next;

    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) {
            QTimer::singleShot(0, next);
            throw Error(QStringLiteral("raised in an event handler"));
        }
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
    // A translated caption is shown as written, never read as markup.
    for (const QLabel* label : dialog->findChildren<QLabel*>())
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
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
    // Each step schedules the next before it raises, so the order does not hang on timing.
    QTimer raising;
    raising.setSingleShot(true);
    ThrowingObject target;
    int raised = 0;
    QObject::connect(&raising, &QTimer::timeout, [&] {
        if (++raised == 1) {
            QTimer::singleShot(0, [&] { QCoreApplication::postEvent(&target, new QEvent(QEvent::User)); });
            throw Error(QStringLiteral("raised in a timer"));
        }
        QTimer::singleShot(0, &App(), &QCoreApplication::quit);
        throw std::runtime_error("a library failure");
    });
    // The same timer and its connection still work after an exception went through them.
    target.next = [&] { raising.start(0); };
    QTimer::singleShot(0, [&] { raising.start(0); });
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &App(), &QCoreApplication::quit);
    giveUp.start(60000); // only ends a run that hangs
    App().exec();

    EXPECT_EQ(raised, 2);
    ASSERT_NE(ErrorDialog(), nullptr);
    EXPECT_EQ(ErrorDialog()->Lines(),
              Lines(QStringLiteral("raised in a timer"), QStringLiteral("raised in an event handler"),
                    QStringLiteral("a library failure")));
}

TEST_F(ErrorReport, ClosingTheReportDoesNotEndTheProgram) {
    ReportError(QStringLiteral("shown"));
    bool stillRunning = false;
    // Whatever ends the loop because of the close is posted by the close itself, so it comes
    // before the call queued after it.
    QTimer::singleShot(0, [&] {
        ErrorDialog()->close();
        QMetaObject::invokeMethod(
            &App(),
            [&] {
                stillRunning = true;
                App().quit();
            },
            Qt::QueuedConnection);
    });
    App().exec();
    EXPECT_TRUE(stillRunning);
}
