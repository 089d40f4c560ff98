#include "translation/translation_walk.h"

#include <functional>

#include <QAbstractItemModel>
#include <QObject>

#include "common/ini_file.h"
#include "common/names.h"
#include "translation/component_texts.h"

namespace {

// The profile functions return at most this many characters of a value.
constexpr qsizetype MaxValueLength = 2047;

const QString HintSuffix = QStringLiteral(".Hint");

// The model that holds a tree view's nodes: the item model among the view's own children (a tree
// widget keeps its model there).
QAbstractItemModel* TreeModelOf(const QObject* view) {
    for (QObject* child : view->children()) {
        if (auto* model = qobject_cast<QAbstractItemModel*>(child))
            return model;
    }
    return nullptr;
}

// Calls visit(index, number) for every node, a node before its children, numbered from 0.
void ForEachNode(QAbstractItemModel* model, const std::function<void(const QModelIndex&, int)>& visit) {
    int number = 0;
    std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
        for (int row = 0; row < model->rowCount(parent); ++row) {
            const QModelIndex index = model->index(row, 0, parent);
            visit(index, number++);
            walk(index);
        }
    };
    walk(QModelIndex());
}

// Visits the form and its named descendants with their key paths, in walk order.
void Walk(const QObject* form, const std::function<void(const QObject*, const QString&)>& visit) {
    if (form->objectName().isEmpty())
        return;
    const QString prefix = form->objectName() + QLatin1Char('.');
    visit(form, form->objectName());
    std::function<void(const QObject*)> descend = [&](const QObject* owner) {
        for (const QObject* child : owner->children()) {
            if (child->objectName().isEmpty() || IsExcludedFromTranslation(child) || IsNestedForm(child))
                continue;
            visit(child, prefix + child->objectName());
            descend(child);
        }
    };
    descend(form);
}

QString ReadValue(const IniFile& file, const QString& section, const QString& key, const QString& current) {
    const QString raw = file.readString(section, key, EscapeName(current)).left(MaxValueLength);
    return UnescapeName(raw);
}

} // namespace

void ReadTranslation(QObject* form, const IniFile& file, const QString& section) {
    Walk(form, [&](const QObject* constComponent, const QString& path) {
        auto* component = const_cast<QObject*>(constComponent);
        switch (KindOf(component)) {
        case ComponentKind::CaptionAndHint:
            // The caption is set before the hint is read: a bad hint leaves the new caption.
            SetCaption(component, ReadValue(file, section, path, CaptionOf(component)));
            SetHint(component, ReadValue(file, section, path + HintSuffix, HintOf(component)));
            break;
        case ComponentKind::MenuItem:
            SetCaption(component, ReadValue(file, section, path, CaptionOf(component)));
            break;
        case ComponentKind::TreeView:
            if (QAbstractItemModel* model = TreeModelOf(component)) {
                ForEachNode(model, [&](const QModelIndex& index, int number) {
                    const QString key = path + QLatin1Char('.') + QString::number(number);
                    model->setData(index, ReadValue(file, section, key, index.data().toString()));
                });
            }
            break;
        case ComponentKind::Other:
            break;
        }
    });
}

void WriteTranslationKeys(const QObject* form, IniFile& file, const QString& section) {
    Walk(form, [&](const QObject* component, const QString& path) {
        switch (KindOf(component)) {
        case ComponentKind::CaptionAndHint:
            file.writeString(section, path, EscapeName(CaptionOf(component)));
            file.writeString(section, path + HintSuffix, EscapeName(HintOf(component)));
            break;
        case ComponentKind::MenuItem:
            file.writeString(section, path, EscapeName(CaptionOf(component)));
            break;
        case ComponentKind::TreeView:
            if (QAbstractItemModel* model = TreeModelOf(component)) {
                ForEachNode(model, [&](const QModelIndex& index, int number) {
                    file.writeString(section, path + QLatin1Char('.') + QString::number(number),
                                     EscapeName(index.data().toString()));
                });
            }
            break;
        case ComponentKind::Other:
            break;
        }
    });
}
