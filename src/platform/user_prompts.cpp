#include "platform/user_prompts.h"

#include <QMessageBox>

QString ApplicationCaption() {
    return QStringLiteral("Kelvara 2.0");
}

void MessageBoxPrompts::message(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

bool MessageBoxPrompts::question(QWidget* owner, const QString& caption, const QString& text,
                                 bool noByDefault) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(noByDefault ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

UserPrompts& DefaultUserPrompts() {
    static MessageBoxPrompts prompts;
    return prompts;
}
