#include "tabwindow/tab_accessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>

#include "tabwindow/tab_window.h"

namespace {

// One item of a tab. It holds no copy of the item: the tab may read its folder again, and then
// the same place names the new item, or none.
class TabItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabItemAccessible(TfrmTab* tab, int index) : m_tab(tab), m_index(index) {}

    bool isValid() const override { return m_tab && m_index < m_tab->TabModel().Items.size(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_tab ? m_tab->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_tab); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override {
        if (!isValid())
            return QString();
        const TItemData& data = m_tab->TabModel().Items.at(m_index).Data;
        switch (t) {
        case QAccessible::Name:
            return data.Name;
        case QAccessible::Description:
            return data.Description;
        default:
            return QString();
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid())
            return QRect();
        const QRect local = m_tab->ItemGeometry(m_index);
        return QRect(m_tab->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.focusable = true;
        state.selectable = true;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const bool highlighted = m_tab->TabModel().HotIndex == m_index;
        state.focused = highlighted && m_tab->KeyboardOpen();
        state.selected = highlighted;
        // A closed tab shows no item.
        state.offscreen = !m_tab->Open();
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid())
            m_tab->LaunchItem(m_index);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<TfrmTab> m_tab;
    int m_index;
};

// A tab window: a list of its items. The item interfaces are registered with Qt's accessibility
// cache, which hands them out by id, and go with the window.
class TabAccessible : public QAccessibleWidget {
public:
    explicit TabAccessible(TfrmTab* tab) : QAccessibleWidget(tab, QAccessible::List) {}
    ~TabAccessible() override {
        for (const QAccessible::Id id : std::as_const(m_items))
            QAccessible::deleteAccessibleInterface(id);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return tab()->TabModel().TabName;
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return int(tab()->TabModel().Items.size()); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        while (m_items.size() <= index)
            m_items.append(
                QAccessible::registerAccessibleInterface(new TabItemAccessible(tab(), int(m_items.size()))));
        return QAccessible::accessibleInterface(m_items.at(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
        const qsizetype index = m_items.indexOf(id);
        return index < childCount() ? int(index) : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int index = tab()->HitIndex(tab()->mapFromGlobal(QPoint(x, y)));
        return child(index);
    }
    QAccessibleInterface* focusChild() const override {
        if (!tab()->KeyboardOpen())
            return nullptr;
        return child(tab()->TabModel().HotIndex);
    }

private:
    TfrmTab* tab() const { return static_cast<TfrmTab*>(widget()); }

    mutable QList<QAccessible::Id> m_items;
};

QAccessibleInterface* TabAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("TfrmTab") && object && object->isWidgetType())
        return new TabAccessible(static_cast<TfrmTab*>(object));
    return nullptr;
}

} // namespace

void InstallTabAccessibility() {
    QAccessible::installFactory(TabAccessibleFactory);
}
