#pragma once

#include <exception>

#include <QString>

#include "common/user_text.h"

// An error raised as an exception with the message text the user sees. One that leaves an event
// handler reaches the application-wide handler, which appends the message to the error report.
// message() is the English text (for logs and tests); text() is what the application words in the
// user's language.
class Error : public std::exception {
public:
    explicit Error(QString message) : Error(UserText::plain(std::move(message))) {}
    explicit Error(UserText text)
        : m_text(std::move(text)), m_message(m_text.english()), m_utf8(m_message.toUtf8()) {}

    const UserText& text() const { return m_text; }
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    UserText m_text;
    QString m_message;
    QByteArray m_utf8;
};
