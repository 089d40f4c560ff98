#pragma once

#include <QPoint>
#include <QString>

class TfrmTab;
struct TItem;

// What a tab window asks of the program around it (the controller). A window without a host (the
// skins preview, tests) has no popup menu and starts no rebuild.
class TabHost {
public:
    virtual ~TabHost() = default;

    // Rebuilds the whole tab set from disk and returns when it is done. The calling window is
    // released as part of it, and destroyed only once control is back in the event loop.
    virtual void RequestRebuild() = 0;

    // Shows the popup menu for target (an item, or the tab itself with index -1) at a screen
    // point, and returns when the menu has closed. Meanwhile the opener's timers and the
    // controller's own stacking timer are suspended.
    virtual void ShowPopup(const TItem& target, const QPoint& screenPos, TfrmTab* opener) = 0;

    // The number of tab windows in the row.
    virtual int TabWindowCount() const = 0;

    // Asks a yes/no question (replacing an existing file); true for yes.
    virtual bool AskUser(const QString& caption, const QString& text) = 0;

    // The window has changed its tab on disk and shows the change already (an item moved in or
    // reordered): the change needs no rebuild.
    virtual void OwnChangeShown() = 0;
};
