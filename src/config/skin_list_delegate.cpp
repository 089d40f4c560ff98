#include "config/skin_list_delegate.h"

#include <QImage>
#include <QPainter>

#include "config/skin_button.h"

namespace {

QImage ButtonOf(const QModelIndex& index) {
    return index.data(SkinListDelegate::ButtonRole).value<QImage>();
}

} // namespace

void SkinListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QPalette& palette = option.palette;
    painter->save();
    painter->setClipRect(option.rect);
    painter->fillRect(option.rect, selected ? palette.highlight() : palette.base());
    QImage button = ButtonOf(index);
    if (!button.isNull()) {
        if (selected)
            BlendTowardsHighlight(button, palette.color(QPalette::Highlight).rgb());
        painter->drawImage(option.rect.topLeft(), button);
    } else {
        painter->setFont(option.font);
        painter->setPen(selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text));
        painter->drawText(option.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
    }
    painter->restore();
}

QSize SkinListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const int height = ButtonOf(index).isNull() ? option.fontMetrics.height() : SkinButtonHeight;
    return {option.rect.width(), height};
}
