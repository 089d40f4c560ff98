#include "tabs/caption_fit.h"

#include <algorithm>

#include <QFontMetricsF>
#include <QTextLayout>

QString FitCaption(const QString& text, const QFont& font, const QSize& box, QPaintDevice* device) {
    if (text.isEmpty() || box.width() <= 0 || box.height() <= 0)
        return text;
    // Laid out as a word-wrapped drawText lays it out.
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QList<QTextLine> lines;
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(box.width());
        line.setPosition(QPointF(0, height));
        height += line.height();
        lines.append(line);
    }
    layout.endLayout();
    if (height <= box.height())
        return text;

    const QFontMetricsF metrics(font, device);
    const int fitting = std::max(1, int(box.height() / metrics.lineSpacing()));
    QStringList shown;
    for (int i = 0; i + 1 < fitting && i < lines.size(); ++i)
        shown.append(text.mid(lines[i].textStart(), lines[i].textLength()).trimmed());
    const QString rest =
        text.mid(lines[std::min<qsizetype>(fitting - 1, lines.size() - 1)].textStart()).simplified();
    shown.append(metrics.elidedText(rest, Qt::ElideRight, box.width()));
    return shown.join(u'\n');
}
