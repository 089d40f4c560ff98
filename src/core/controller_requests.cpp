// What a later start of Kelvara, the desktop or the command line asks of the running controller.
#include "core/controller.h"

#include <QMetaObject>

#include "common/error.h"
#include "common/names.h"
#include "config/config_dialog.h"
#include "tabwindow/tab_window.h"
#include "translation/ui_text.h"
#include "ui/error_report.h"

void TfrmRunning::Request(const InstanceRequest& request) {
    // Carried out from the event loop, after the one who asked has had the answer: a dialog the
    // request opens must not keep that answer waiting.
    QMetaObject::invokeMethod(
        this, [this, request] { CarryOut(request); }, Qt::QueuedConnection);
}

TfrmTab* TfrmRunning::RequestedTab(const QString& tab) {
    if (tab.isEmpty())
        return nullptr;
    // A tab is named as it is shown, or by its folder (as the desktop's Open passes it).
    for (TfrmTab* window : std::as_const(m_tabWindows)) {
        if (window->TabModel().TabName == tab || window->TabModel().TabFolder == tab)
            return window;
    }
    for (TfrmTab* window : std::as_const(m_tabWindows)) {
        if (SameName(window->TabModel().TabName, tab))
            return window;
    }
    ReportError(UiText("Error.NoTabNamed", "There is no tab named %1.").arg(tab));
    return nullptr;
}

void TfrmRunning::CarryOut(const InstanceRequest& request) {
    if (m_endRequested)
        return;
    switch (request.action) {
    case InstanceRequest::Action::Activate:
        ShortcutKeyPressed(request.timestamp);
        break;
    case InstanceRequest::Action::Open:
        if (request.tab.isEmpty())
            ShortcutKeyPressed(request.timestamp);
        else if (TfrmTab* target = RequestedTab(request.tab))
            OpenTabFromKeyboard(target, request.timestamp);
        break;
    case InstanceRequest::Action::Settings:
        if (m_configDialog) {
            m_configDialog->raise();
            m_configDialog->activateWindow();
        } else {
            Config1Click();
        }
        break;
    case InstanceRequest::Action::AddApplications: {
        TfrmTab* target = request.tab.isEmpty() ? LastOpenedTab() : RequestedTab(request.tab);
        if (target == nullptr)
            break;
        m_popupItem = TItem{};
        m_popupItem.Index = -1;
        m_popupItem.Data.Name = target->TabModel().TabName;
        m_popupItem.Data.LinkFile = target->TabModel().TabFolder;
        AddApplications1Click();
        break;
    }
    case InstanceRequest::Action::Refresh:
        RebuildTabs();
        break;
    case InstanceRequest::Action::Quit:
        // The settings in memory are those of the file; writing them keeps a file removed or
        // damaged meanwhile from being lost with the instance. The end comes whatever happens.
        try {
            SaveSettings();
        } catch (const Error& e) {
            ReportError(Worded(e.text()));
        }
        Exit1Click();
        break;
    }
}
