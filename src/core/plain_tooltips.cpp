#include "core/plain_tooltips.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QTextDocument>
#include <QToolTip>

#include "core/tooltip_style.h"

namespace {

class PlainTooltips : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        const auto* help = static_cast<const QHelpEvent*>(event);
        // An item view shows the tooltip of the item under the pointer, from its viewport.
        if (auto* view = qobject_cast<QAbstractItemView*>(widget->parentWidget());
            view && view->viewport() == widget) {
            const QString text = view->indexAt(help->pos()).data(Qt::ToolTipRole).toString();
            show(help, text, widget);
            return true;
        }
        // Text that would be shown as it is stays with the widget, which may add to it.
        const QString text = widget->toolTip();
        if (!Qt::mightBeRichText(text))
            return false;
        show(help, text, widget);
        return true;
    }

private:
    static void show(const QHelpEvent* help, const QString& text, QWidget* widget) {
        if (text.isEmpty()) {
            QToolTip::hideText();
            return;
        }
        // Escaped and marked as formatted text, so that it is never read as markup.
        QToolTip::showText(help->globalPos(), Qt::convertFromPlainText(text, Qt::WhiteSpacePre), widget, {},
                           TooltipDisplayMs);
    }
};

} // namespace

void InstallPlainTooltips() {
    static PlainTooltips* filter = nullptr;
    if (filter != nullptr || QCoreApplication::instance() == nullptr)
        return;
    filter = new PlainTooltips(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}
