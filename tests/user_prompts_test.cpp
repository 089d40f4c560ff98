#include "platform/user_prompts.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "support/qt_test_support.h"

namespace {

// A message of 400 lines (an update server may send that) scrolls inside a box that fits the
// screen's available area, with OK on the screen; a short one stays a plain message box.
TEST(MessageBox, ALongMessageScrollsInsideTheScreen) {
    EnsureApplication();
    QStringList lines;
    for (int i = 1; i <= 400; ++i)
        lines << QStringLiteral("line %1 of the server's message").arg(i);
    const QString text = lines.join(QLatin1Char('\n'));
    const std::unique_ptr<QDialog> box = MakeMessageBox(nullptr, ApplicationCaption(), text);
    box->show();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(available.contains(box->frameGeometry())) << box->frameGeometry().height();
    EXPECT_EQ(box->windowTitle(), ApplicationCaption());
    const QPushButton* ok = box->findChild<QPushButton*>();
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isVisible());
    EXPECT_TRUE(box->rect().contains(QRect(ok->mapTo(box.get(), QPoint()), ok->size())));
    const auto* shown = box->findChild<QPlainTextEdit*>();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->toPlainText(), text);

    const std::unique_ptr<QDialog> plain = MakeMessageBox(nullptr, ApplicationCaption(), lines.first());
    const auto* message = qobject_cast<QMessageBox*>(plain.get());
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text(), lines.first());
    EXPECT_EQ(message->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(message->textFormat(), Qt::PlainText);
}

} // namespace
