#pragma once

#include <exception>

#include <QString>

// An error raised as an exception with the message text the user sees. One that leaves an event
// handler reaches the application-wide handler, which appends the message to the error report.
class Error : public std::exception {
public:
    explicit Error(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
