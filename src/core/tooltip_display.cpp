#include "core/tooltip_display.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QTextDocument>
#include <QToolTip>

namespace {

// Text that Qt would read as markup is escaped and marked as formatted text; other text is shown
// as it is.
QString PlainTooltipText(const QString& text) {
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpacePre) : text;
}

class TooltipDisplay : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        const auto* help = static_cast<const QHelpEvent*>(event);
        // An item view shows the tooltip of the row under the pointer, from its viewport; a row
        // without one shows the view's own tooltip.
        if (auto* view = qobject_cast<QAbstractItemView*>(widget->parentWidget());
            view != nullptr && view->viewport() == widget) {
            const QModelIndex index = view->indexAt(help->pos());
            const QString text = index.data(Qt::ToolTipRole).toString();
            if (!text.isEmpty())
                Show(help, text, widget, view->visualRect(index));
            else if (!view->toolTip().isEmpty())
                Show(help, view->toolTip(), widget, {});
            else
                QToolTip::hideText();
            return true;
        }
        // Without a tooltip of its own a widget answers as it always does (a tab bar for each tab).
        if (widget->toolTip().isEmpty())
            return false;
        Show(help, widget->toolTip(), widget, {});
        return true;
    }

private:
    static void Show(const QHelpEvent* help, const QString& text, QWidget* widget, const QRect& area) {
        QToolTip::showText(help->globalPos(), PlainTooltipText(text), widget, area, TooltipDisplayMs);
    }
};

} // namespace

void InstallTooltipDisplay() {
    static TooltipDisplay* filter = nullptr;
    if (filter != nullptr || QCoreApplication::instance() == nullptr)
        return;
    filter = new TooltipDisplay(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}
