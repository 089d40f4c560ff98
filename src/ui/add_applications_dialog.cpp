#include "ui/add_applications_dialog.h"

#include <QAbstractListModel>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHash>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "tabs/item_icon.h"
#include "tabs/tab.h"
#include "translation/ui_text.h"

namespace {

constexpr int kIconSize = 24;

// Ticks and unticks a row wherever it is clicked, and with Space, so that choosing several takes
// no aim at the small box.
class ToggleDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override {
        switch (event->type()) {
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton || !option.rect.contains(mouse->position().toPoint()))
                return false;
            return Toggle(model, index);
        }
        case QEvent::MouseButtonDblClick:
            // The two releases of a double click tick and untick: the click itself does nothing more.
            return true;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            return (key == Qt::Key_Space || key == Qt::Key_Select) && Toggle(model, index);
        }
        default:
            return false;
        }
    }

private:
    static bool Toggle(QAbstractItemModel* model, const QModelIndex& index) {
        const bool ticked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        return model->setData(index, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
};

} // namespace

// The applications with the ones ticked, in the order of ticking. Icons are drawn when a row is
// first shown: the icon theme is slow to draw a few hundred of them at once.
class TfrmAddApplications::Model : public QAbstractListModel {
public:
    Model(QList<InstalledApp> apps, QObject* parent) : QAbstractListModel(parent), m_apps(std::move(apps)) {}

    const InstalledApp& app(int row) const { return m_apps.at(row); }
    const QList<int>& ticked() const { return m_ticked; }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(m_apps.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= m_apps.size())
            return {};
        const InstalledApp& a = m_apps.at(index.row());
        switch (role) {
        case Qt::DisplayRole:
            return a.name;
        case Qt::ToolTipRole:
            return a.genericName.isEmpty() ? a.name : a.genericName;
        case Qt::DecorationRole:
            return icon(index.row());
        case Qt::CheckStateRole:
            return m_ticked.contains(index.row()) ? Qt::Checked : Qt::Unchecked;
        default:
            return {};
        }
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (!index.isValid() || role != Qt::CheckStateRole)
            return false;
        const int row = index.row();
        m_ticked.removeAll(row);
        if (value.toInt() == Qt::Checked)
            m_ticked.append(row);
        Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
        return true;
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return QAbstractListModel::flags(index) | Qt::ItemIsUserCheckable | Qt::ItemNeverHasChildren;
    }

private:
    QIcon icon(int row) const {
        if (const auto found = m_icons.constFind(row); found != m_icons.cend())
            return *found;
        // The icon a shortcut to the entry would show, as a dropped entry gets it.
        TItemData entry;
        entry.Target = m_apps.at(row).desktopFile;
        entry.IconLocation = entry.Target;
        const QIcon drawn(QPixmap::fromImage(ItemIconImage(ResolveItemIcon(entry), kIconSize * 2)));
        m_icons.insert(row, drawn);
        return drawn;
    }

    QList<InstalledApp> m_apps;
    QList<int> m_ticked;
    mutable QHash<int, QIcon> m_icons;
};

class TfrmAddApplications::Filter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setQuery(const QString& query) {
        m_query = query;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex&) const override {
        return AppMatches(static_cast<const Model*>(sourceModel())->app(row), m_query);
    }

private:
    QString m_query;
};

TfrmAddApplications::TfrmAddApplications(QList<InstalledApp> apps, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAddApplications"));
    setWindowTitle(UiText("AddApplications.Title", "Add Applications"));
    m_model = new Model(std::move(apps), this);
    m_filter = new Filter(this);
    m_filter->setSourceModel(m_model);

    auto* searchLabel = new QLabel(UiText("AddApplications.Search", "&Search:"), this);
    searchLabel->setTextFormat(Qt::PlainText);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("edtSearch"));
    m_search->setPlaceholderText(UiText("AddApplications.SearchHint", "Name, kind or keyword"));
    m_search->setClearButtonEnabled(true);
    searchLabel->setBuddy(m_search);

    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("lbxApplications"));
    m_list->setModel(m_filter);
    m_list->setItemDelegate(new ToggleDelegate(m_list));
    m_list->setIconSize(QSize(kIconSize, kIconSize));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setUniformItemSizes(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);

    m_count = new QLabel(this);
    m_count->setTextFormat(Qt::PlainText);
    m_count->setObjectName(QStringLiteral("lblChosen"));
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(UiText("AddApplications.Add", "&Add"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(UiText("Button.Cancel", "Cancel"));

    auto* layout = new QVBoxLayout(this);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_search, 1);
    layout->addLayout(searchRow);
    layout->addWidget(m_list, 1);
    auto* bottomRow = new QHBoxLayout;
    bottomRow->addWidget(m_count, 1);
    bottomRow->addWidget(m_buttons);
    layout->addLayout(bottomRow);
    resize(440, 520);

    m_search->installEventFilter(this);
    m_list->installEventFilter(this);
    connect(m_search, &QLineEdit::textChanged, this, &TfrmAddApplications::searchChanged);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &TfrmAddApplications::showChoice);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TfrmAddApplications::showChoice);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    searchChanged(QString());
    m_search->setFocus();
}

TfrmAddApplications::~TfrmAddApplications() = default;

QStringList TfrmAddApplications::Chosen() const {
    QStringList files;
    for (const int row : m_model->ticked())
        files.append(m_model->app(row).desktopFile);
    if (files.isEmpty()) {
        if (const QModelIndex current = m_list->currentIndex(); current.isValid())
            files.append(m_model->app(m_filter->mapToSource(current).row()).desktopFile);
    }
    return files;
}

void TfrmAddApplications::searchChanged(const QString& text) {
    m_filter->setQuery(text);
    // The best match is under the cursor, so that typing and Return adds it.
    if (!m_list->currentIndex().isValid() && m_filter->rowCount() > 0)
        m_list->setCurrentIndex(m_filter->index(0, 0));
    showChoice();
}

void TfrmAddApplications::showChoice() {
    const qsizetype ticked = m_model->ticked().size();
    m_count->setText(ticked == 0 ? QString() : UiText("AddApplications.Chosen", "%1 chosen").arg(ticked));
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!Chosen().isEmpty());
}

bool TfrmAddApplications::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == m_search) {
        // The search field keeps the letters; the keys that move go on to the list.
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            // In the list, Space ticks; typing brings the search field back.
            m_list->setFocus(Qt::TabFocusReason);
            QCoreApplication::sendEvent(m_list, event);
            return true;
        default:
            return false;
        }
    }
    if (watched == m_list && key->key() != Qt::Key_Space && !key->text().isEmpty() &&
        key->text().front().isPrint() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        // Typing in the list searches on.
        m_search->setFocus(Qt::OtherFocusReason);
        QCoreApplication::sendEvent(m_search, event);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
