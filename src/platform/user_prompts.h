#pragma once

#include <memory>

#include <QString>

class QDialog;
class QWidget;

// The questions and messages the program puts to the user, behind one small interface so that
// tests answer them without a window. Every box is plain: no icon, and the text is shown as it
// stands (never read as rich text: it may come from a server).
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // A message with an OK button, owned by owner (none: application-modal).
    virtual void message(QWidget* owner, const QString& caption, const QString& text) = 0;
    // A question with Yes and No; true for Yes. noByDefault makes No the default button.
    virtual bool question(QWidget* owner, const QString& caption, const QString& text,
                          bool noByDefault = false) = 0;
    // A text-input box; cancelling gives the default text.
    virtual QString askText(QWidget* owner, const QString& title, const QString& prompt,
                            const QString& defaultText) = 0;
};

// The caption of plain message boxes: the application's title.
QString ApplicationCaption();

// The box message() shows: a plain message box with an OK button, or, for a text too tall for the
// screen's available area (an update server may send any number of lines), a box of that height
// at most in which the text scrolls above the OK button.
std::unique_ptr<QDialog> MakeMessageBox(QWidget* owner, const QString& caption, const QString& text);

// The prompts as QMessageBoxes.
class MessageBoxPrompts : public UserPrompts {
public:
    void message(QWidget* owner, const QString& caption, const QString& text) override;
    bool question(QWidget* owner, const QString& caption, const QString& text, bool noByDefault) override;
    QString askText(QWidget* owner, const QString& title, const QString& prompt,
                    const QString& defaultText) override;
};

// The prompts used by the running program.
UserPrompts& DefaultUserPrompts();
