#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

#include "tabs/installed_apps.h"

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;

// Lists installed applications with their icons and names, filtered as the user types, to choose
// several; they are taken in the order they were ticked. The keyboard does it all: typing goes to
// the search field, the arrow keys move along the list, Space ticks an application and Return
// adds the ticked ones (or, with none ticked, the one under the cursor).
class TfrmAddApplications : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAddApplications(QList<InstalledApp> apps, QWidget* parent = nullptr);
    ~TfrmAddApplications() override;

    // The desktop files of the applications to add, in the order they were ticked; with none
    // ticked, the one under the cursor; empty when there is none.
    QStringList Chosen() const;

    QLineEdit* edtSearch() const { return m_search; }
    QListView* lbxApplications() const { return m_list; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Model;
    class Filter;

    void searchChanged(const QString& text);
    // Shows how many are ticked; Add works once there is something to add.
    void showChoice();

    Model* m_model;
    Filter* m_filter;
    QLineEdit* m_search;
    QListView* m_list;
    QLabel* m_count;
    QDialogButtonBox* m_buttons;
};
