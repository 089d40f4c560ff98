#pragma once

#include <QStyledItemDelegate>

// Draws the entries of the skins list: the skin's button picture, unscaled at the entry's top-left
// corner on a 31-pixel entry (a tenth of the highlight mixed in when the entry is selected), or
// the skin's name as text at the list's own text height when the skin has no button picture.
// The picture is the entry's ButtonRole data; a null picture means none.
class SkinListDelegate : public QStyledItemDelegate {
public:
    static constexpr int ButtonRole = Qt::UserRole;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
