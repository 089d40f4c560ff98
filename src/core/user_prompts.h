#pragma once

#include <QString>

class QWidget;

// The questions and messages the program puts to the user. The controller and its commands go
// through this seam, so that tests answer without a window.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // A text-input box; cancelling gives the default text.
    virtual QString askText(const QString& title, const QString& prompt, const QString& defaultText) = 0;
    // A plain message box with an OK button and the application title as caption.
    virtual void showMessage(const QString& text) = 0;
};

// The real boxes: QInputDialog and QMessageBox without icons, owned by the given window.
class DialogPrompts : public UserPrompts {
public:
    explicit DialogPrompts(QWidget* owner) : m_owner(owner) {}
    QString askText(const QString& title, const QString& prompt, const QString& defaultText) override;
    void showMessage(const QString& text) override;

private:
    QWidget* m_owner;
};
