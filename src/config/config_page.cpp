#include "config/config_page.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLabel>

namespace {

const char* const AutoSizeProperty = "autoSize";

} // namespace

ConfigPage::ConfigPage(PageContext& context, const QString& name, QWidget* parent)
    : QWidget(parent), m_context(context) {
    setObjectName(name);
}

void ConfigPage::load() {
    m_loading = true;
    try {
        loadControls();
    } catch (...) {
        m_loading = false;
        throw;
    }
    m_loading = false;
    fitAutoSized();
}

void ConfigPage::autoSized(QWidget* control) {
    control->setProperty(AutoSizeProperty, true);
    control->resize(control->sizeHint());
}

bool ConfigPage::event(QEvent* event) {
    // A child whose text changed asks its parent for a new layout.
    if (event->type() == QEvent::LayoutRequest)
        fitAutoSized();
    return QWidget::event(event);
}

void ConfigPage::showEvent(QShowEvent* event) {
    fitAutoSized();
    QWidget::showEvent(event);
}

void ConfigPage::fitAutoSized() {
    for (QWidget* control : findChildren<QWidget*>()) {
        if (control->property(AutoSizeProperty).toBool())
            control->resize(control->sizeHint().width(), control->height());
    }
    arrange();
}

QString HintLines(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n"));
}

void ExcludeFromTranslation(QObject* component) {
    component->setProperty("tag", -1);
}
