#include "core/user_prompts.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

QString DialogPrompts::askText(const QString& title, const QString& prompt, const QString& defaultText) {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(m_owner, title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? answer : defaultText;
}

void DialogPrompts::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok, m_owner);
    box.exec();
}
