#pragma once

#include <QImage>
#include <QList>
#include <QString>

class TSkin;

// What one shortcut file says about an item.
struct TItemData {
    QString Name;         // caption: the unescaped file name without its extension
    QString LinkFile;     // full path of the shortcut file
    QString Target;       // target path, or "macro:screenres"
    QString Arguments;
    QString WorkingDir;
    QString Description;
    QString IconLocation; // empty: the target itself
    qint32 IconIndex = 0;
    qint32 ShowCmd = 1;   // 1 normal, 2 minimized, 3 maximized
};

struct TItem {
    QImage Icon; // null when the item has no icon
    qint32 Index = 0;
    TItemData Data;
};

// The model of one tab: its folder, its items in display order, and the state the tab window
// keeps in it (opening extent, highlighted item, drop position).
class TTab {
public:
    QString TabFolder;
    QString TabName;
    qint32 OpenExtent = 0;
    qint32 ItemsLength = 0;
    QList<TItem> Items;
    qint32 HotIndex = -1;
    qint32 DropIndex = -1;
    const TSkin* Skin = nullptr; // borrowed
    qint32 TabIndex = 0;
    qint32 TabCount = 0;

    // Rebuilds Items from the shortcut files of TabFolder, in the order of its order file.
    void LoadItems();
};
