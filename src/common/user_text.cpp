#include "common/user_text.h"

UserText UserText::plain(QString text) {
    UserText made;
    made.m_wording = std::move(text);
    return made;
}

UserText UserText::lines(QList<UserText> texts) {
    UserText made;
    made.m_lines = true;
    made.m_values = std::move(texts);
    return made;
}

UserText UserText::arg(const UserText& value) const {
    UserText made = *this;
    made.m_values.append(value);
    return made;
}

QString UserText::english() const {
    return filled(nullptr);
}

QString UserText::wordedBy(Lookup lookup) const {
    return filled(lookup);
}

QString UserText::filled(Lookup lookup) const {
    if (m_lines) {
        QStringList shown;
        for (const UserText& line : m_values)
            shown.append(line.filled(lookup));
        return shown.join(QLatin1Char('\n'));
    }
    if (m_key == nullptr)
        return m_wording;
    const QString wording = lookup ? lookup(m_key, m_english) : QString::fromUtf8(m_english);
    // One pass, so that a value holding "%2" is never filled in itself; a placeholder without a
    // value stays as it stands.
    QString shown;
    shown.reserve(wording.size());
    for (qsizetype i = 0; i < wording.size(); ++i) {
        const QChar c = wording[i];
        if (c == u'%' && i + 1 < wording.size() && wording[i + 1] >= u'1' && wording[i + 1] <= u'9') {
            const qsizetype index = wording[i + 1].unicode() - u'1';
            if (index < m_values.size()) {
                shown += m_values[index].filled(lookup);
                ++i;
                continue;
            }
        }
        shown += c;
    }
    return shown;
}
