#include "config/plain_controls.h"

#include <algorithm>

#include <QHelpEvent>
#include <QPainter>
#include <QTextDocument>
#include <QToolTip>

namespace {

// The caption's lines as they show: without carriage returns, and without mnemonic marks.
QStringList ShownLines(QString caption, bool mnemonics) {
    caption.remove(QLatin1Char('\r'));
    if (mnemonics) {
        QString shown;
        for (qsizetype i = 0; i < caption.size(); ++i) {
            if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
                ++i;
            shown += caption[i];
        }
        caption = shown;
    }
    return caption.split(QLatin1Char('\n'));
}

// Buttons, and labels that lead to a buddy control, show "&x" as an underlined access key.
bool ShowsMnemonic(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->buddy() != nullptr;
    return control->inherits("QAbstractButton");
}

} // namespace

QString FittedCaption(const QString& caption, const QFontMetrics& metrics, int width, bool mnemonics) {
    if (CaptionAdvance(caption, metrics, mnemonics) <= width)
        return caption;
    QStringList lines = ShownLines(caption, mnemonics);
    for (QString& line : lines) {
        line = metrics.elidedText(line, Qt::ElideRight, std::max(0, width));
        if (mnemonics)
            line.replace(QLatin1Char('&'), QStringLiteral("&&"));
    }
    return lines.join(QLatin1Char('\n'));
}

int CaptionAdvance(const QString& caption, const QFontMetrics& metrics, bool mnemonics) {
    int widest = 0;
    for (const QString& line : ShownLines(caption, mnemonics))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

bool ShowPlainHint(QWidget* control, const QHelpEvent* event, const QString& caption, bool cut) {
    QStringList parts;
    if (cut)
        parts << ShownLines(caption, ShowsMnemonic(control)).join(QLatin1Char('\n'));
    if (!control->toolTip().isEmpty())
        parts << control->toolTip();
    if (parts.isEmpty())
        return false;
    QString text = parts.join(QLatin1Char('\n'));
    text.remove(QLatin1Char('\r'));
    // Escaped and marked as formatted text, so that the tooltip never reads it as markup.
    QToolTip::showText(event->globalPos(), Qt::convertFromPlainText(text, Qt::WhiteSpacePre), control, {},
                       control->toolTipDuration());
    return true;
}

int FittedButtonWidth(const PlainPushButton& button, int builtIn, int maxWidth) {
    // The room a push button leaves for its caption does not depend on its width.
    const int whole = button.wholeCaptionWidth();
    if (whole <= builtIn)
        return builtIn;
    return std::min(std::max(whole, button.sizeHint().width()), maxWidth);
}

PlainLabel::PlainLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
}

int PlainLabel::wholeCaptionWidth() const {
    const int frame = width() - contentsRect().width() + 2 * margin();
    return frame + CaptionAdvance(text(), fontMetrics(), ShowsMnemonic(this));
}

bool PlainLabel::captionCut() const {
    return !wordWrap() && wholeCaptionWidth() > width();
}

void PlainLabel::paintEvent(QPaintEvent* event) {
    if (!captionCut()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(
        &painter, area, QStyle::visualAlignment(layoutDirection(), alignment()), palette(), isEnabled(),
        FittedCaption(text(), fontMetrics(), area.width(), ShowsMnemonic(this)), foregroundRole());
}

bool PlainLabel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip &&
        ShowPlainHint(this, static_cast<const QHelpEvent*>(event), text(), captionCut()))
        return true;
    return QLabel::event(event);
}
