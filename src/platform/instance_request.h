#pragma once

#include <QByteArray>
#include <QString>

// What a start of Kelvara asks of the instance that runs for its data folder: carried over the
// session bus or the local socket, and carried out by the controller.
struct InstanceRequest {
    enum class Action {
        Activate,        // a plain start: open the tab last opened, as the shortcut key does
        Open,            // toggle a tab (by name; none: the last opened) with the keyboard focus
        Settings,        // the settings dialog
        AddApplications, // the dialog that adds installed applications to a tab
        Refresh,         // rebuild the tab set from disk
        Quit,            // end the instance as Exit does
    };

    Action action = Action::Activate;
    // The tab named on the command line; empty for none.
    QString tab;
    // The X server time of the user's action that started the request (from the startup
    // notification id a launcher passes on); 0 when unknown.
    quint32 timestamp = 0;

    bool operator==(const InstanceRequest&) const = default;
};

// The name of an action as the desktop and the socket know it ("activate", "open", "settings",
// "add-applications", "refresh", "quit"), and back; false for an unknown name.
QString ActionName(InstanceRequest::Action action);
bool ActionFromName(const QString& name, InstanceRequest::Action* action);

// One request as a line of the socket protocol, and back. A line that names no known action
// gives false.
QByteArray EncodeRequest(const InstanceRequest& request);
bool DecodeRequest(const QByteArray& line, InstanceRequest* request);

// The user-time of a startup notification id such as "openbox-12-host-sh-0_TIME4242", 0 when it
// holds none.
quint32 StartupIdTime(const QString& startupId);
