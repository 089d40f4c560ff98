#include "core/tooltip_style.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

int TooltipStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const {
    switch (hint) {
    case SH_ToolTip_WakeUpDelay:
        return 0;
    case SH_ToolTip_FallAsleepDelay:
        return 32767;
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}

bool TooltipDisplayTime::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    const auto* help = static_cast<QHelpEvent*>(event);
    // A list or tree has a tooltip for each row, asked for by its viewport.
    if (auto* view = qobject_cast<QAbstractItemView*>(widget->parentWidget());
        view != nullptr && view->viewport() == widget) {
        const QModelIndex index = view->indexAt(help->pos());
        const QString text = index.data(Qt::ToolTipRole).toString();
        if (text.isEmpty())
            return false;
        QToolTip::showText(help->globalPos(), text, widget, view->visualRect(index), TooltipDisplayMs);
        return true;
    }
    // Without a tooltip of its own a widget answers as it always does.
    if (widget->toolTip().isEmpty())
        return false;
    QToolTip::showText(help->globalPos(), widget->toolTip(), widget, QRect(), TooltipDisplayMs);
    return true;
}

void InstallTooltipStyle() {
    QApplication::setStyle(new TooltipStyle);
    qApp->installEventFilter(new TooltipDisplayTime(qApp));
    QPalette palette = QToolTip::palette();
    palette.setColor(QPalette::ToolTipBase, QApplication::palette().color(QPalette::Button));
    QToolTip::setPalette(palette);
}
