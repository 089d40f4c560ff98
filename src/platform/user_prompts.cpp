#include "platform/user_prompts.h"

#include <QInputDialog>
#include <QMessageBox>

QString ApplicationCaption() {
    return QStringLiteral("Kelvara 2.0");
}

void MessageBoxPrompts::message(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool MessageBoxPrompts::question(QWidget* owner, const QString& caption, const QString& text,
                                 bool noByDefault) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(noByDefault ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QString MessageBoxPrompts::askText(QWidget* owner, const QString& title, const QString& prompt,
                                   const QString& defaultText) {
    bool ok = false;
    const QString answer = QInputDialog::getText(owner, title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? answer : defaultText;
}

UserPrompts& DefaultUserPrompts() {
    static MessageBoxPrompts prompts;
    return prompts;
}
