#include "ui/error_report.h"

#include <stdexcept>

#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
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

TEST_F(ErrorReport, WindowHasItsFixedLayout) {
    ReportError(QStringLiteral("x"));
    TfrmError* dialog = ErrorDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Ooops!"));
    EXPECT_EQ(dialog->size(), QSize(516, 218));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_FALSE(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(dialog->pos(), QPoint(318, 156));
    const auto* label = dialog->findChild<QLabel*>(QStringLiteral("Label1"));
    const auto* memo = dialog->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    const auto* button = dialog->findChild<QPushButton*>(QStringLiteral("Button1"));
    ASSERT_TRUE(label && memo && button);
    EXPECT_EQ(label->text(), QStringLiteral("Errors were encountered:"));
    EXPECT_EQ(label->pos(), QPoint(8, 16));
    EXPECT_EQ(memo->geometry(), QRect(24, 40, 465, 129));
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(button->text(), QStringLiteral("Clear"));
    EXPECT_EQ(button->geometry(), QRect(432, 184, 75, 25));
}

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
