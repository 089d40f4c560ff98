// The menu command that adds installed applications to a tab.
#include "core/controller.h"

#include <QFileInfo>

#include "tabs/installed_apps.h"
#include "tabwindow/tab_context.h"
#include "tabwindow/drop_operation.h"
#include "ui/add_applications_dialog.h"
#include "ui/error_report.h"

void TfrmRunning::AddApplications1Click() {
    const TItem target = m_popupItem;
    // The menu of an item adds to the item's tab.
    const QString tabFolder =
        target.Index < 0 ? target.Data.LinkFile : QFileInfo(target.Data.LinkFile).path();
    TfrmAddApplications dialog(InstalledApplications(), this);
    // In the middle of the tabs' monitor: the controller it belongs to is never shown.
    dialog.move(TabWorkArea(m_context).center() - dialog.rect().center());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QStringList chosen = dialog.Chosen();
    AppendDesktopEntries(
        tabFolder, chosen,
        [this](const QString& caption, const QString& text) { return AskUser(caption, text); }, ReportError);
    if (!chosen.isEmpty())
        RebuildTabs();
}
