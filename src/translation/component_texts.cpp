#include "translation/component_texts.h"

#include <QObject>
#include <QVariant>

ComponentKind KindOf(const QObject* component) {
    if (component->inherits("QLabel") || component->inherits("QPushButton") ||
        component->inherits("QRadioButton") || component->inherits("QCheckBox"))
        return ComponentKind::CaptionAndHint;
    if (component->inherits("QAction"))
        return ComponentKind::MenuItem;
    if (component->inherits("QTreeView"))
        return ComponentKind::TreeView;
    return ComponentKind::Other;
}

bool IsNestedForm(const QObject* component) {
    return component->inherits("QDialog") || component->inherits("QMainWindow") ||
           component->property("form").toBool();
}

bool IsExcludedFromTranslation(const QObject* component) {
    const QVariant tag = component->property("tag");
    return tag.isValid() && tag.toInt() == -1;
}

QString CaptionOf(const QObject* component) {
    return component->property("text").toString();
}

void SetCaption(QObject* component, const QString& text) {
    component->setProperty("text", text);
}

QString HintOf(const QObject* component) {
    return component->property("toolTip").toString();
}

void SetHint(QObject* component, const QString& text) {
    component->setProperty("toolTip", text);
}
