#include "config/config_page.h"

#include <algorithm>

#include <QAbstractButton>
#include <QEvent>
#include <QLabel>

namespace {

const char* const AutoSizeProperty = "autoSize";

// Controls keep this far from the page's right edge, as the lists and boxes do from its left.
constexpr int RightMargin = 8;

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
    keepInside();
}

int ConfigPage::contentRight() const {
    return width() - RightMargin;
}

void ConfigPage::keepInside() {
    for (QWidget* control : findChildren<QWidget*>()) {
        if (!control->property(AutoSizeProperty).toBool())
            continue;
        const QWidget* container = control->parentWidget();
        const int right = container == this ? contentRight() : container->width();
        if (control->x() + control->width() > right)
            control->resize(std::max(0, right - control->x()), control->height());
    }
}

void ConfigPage::tabOrder(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

void ConfigPage::followCheckedButton(QLabel* label, const QList<QAbstractButton*>& buttons) {
    if (buttons.isEmpty())
        return;
    label->setBuddy(buttons.first());
    for (QAbstractButton* button : buttons) {
        QObject::connect(button, &QAbstractButton::toggled, label, [label, button](bool on) {
            if (on)
                label->setBuddy(button);
        });
    }
}

QString HintLines(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n"));
}

void ExcludeFromTranslation(QObject* component) {
    component->setProperty("tag", -1);
}
