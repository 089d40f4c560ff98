#pragma once

#include <QList>
#include <QString>

// A text for the user made below the translations (in the readers of files and the launcher): a
// stable key with its English wording, whose placeholders %1 to %9 are filled with the values given
// by arg, each a plain text (a path, a name, a number, a message of the system) or a text of its
// own (the reason inside a message). english() is the English text, which logs and tests read;
// wordedBy() asks a lookup for each key's wording, which is how the application shows it in the
// language of the translation in use.
//     UserText("Order.NotKept", "'%1' cannot be kept in an order file").arg(name)
class UserText {
public:
    // The empty text.
    UserText() = default;
    UserText(const char* key, const char* english) : m_key(key), m_english(english) {}

    // A text that is shown as it stands in every language.
    static UserText plain(QString text);
    // The texts one below the other.
    static UserText lines(QList<UserText> texts);

    UserText arg(const UserText& value) const;
    UserText arg(const QString& value) const { return arg(plain(value)); }
    UserText arg(qint64 value) const { return arg(QString::number(value)); }
    UserText arg(int value) const { return arg(QString::number(value)); }

    bool isEmpty() const { return m_key == nullptr && m_wording.isEmpty() && m_values.isEmpty(); }
    // The key, or null for a plain text or lines.
    const char* key() const { return m_key; }

    // Gives the wording of a key in the language wanted; english is the fallback.
    using Lookup = QString (*)(const char* key, const char* english);
    QString english() const;
    QString wordedBy(Lookup lookup) const;

private:
    QString filled(Lookup lookup) const;

    bool m_lines = false;
    const char* m_key = nullptr;
    const char* m_english = nullptr;
    // The text of a plain one.
    QString m_wording;
    QList<UserText> m_values;
};
