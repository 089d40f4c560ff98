#include "skins/parse_box.h"

#include "common/ini_file.h"

namespace {

bool ReadNumber(const QString& piece, qint32* value) {
    return ParseIniInteger(piece.trimmed(), IniFile::IntegerForms::DecimalOrHex, value);
}

} // namespace

void ParseBox(const QString& text, SkinBox& box) {
    const QString trimmed = text.trimmed();
    if (trimmed.size() < 9 || !trimmed.startsWith(u'(') || !trimmed.endsWith(u')'))
        return;
    QString rest = trimmed.mid(1, trimmed.size() - 2);
    qint32* const numbers[] = {&box.Left, &box.Top, &box.Width, &box.Height};
    for (int i = 0; i < 3; ++i) {
        if (rest.size() < 3)
            return;
        const qsizetype comma = rest.indexOf(u',');
        if (comma <= 0 || comma == rest.size() - 1)
            return;
        if (!ReadNumber(rest.left(comma), numbers[i]))
            return;
        rest = rest.mid(comma + 1);
    }
    ReadNumber(rest, numbers[3]);
}
