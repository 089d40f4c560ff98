#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

struct TItemData;

// The size of item icons in the tab picture.
constexpr int kItemIconSize = 32;

// What an item's icon is drawn from, in order of preference: a picture, icon or program file, then
// names looked up in the icon theme, then a drawing of Kelvara's own, so that no item is blank.
struct ItemIconSource {
    enum class Kind { Document, Folder, Program };

    // An image, ".ico", ".exe" or ".dll" file and the icon number within it.
    struct File {
        QString path;
        int index = 0;
    };

    QList<File> files;          // tried in order
    QStringList themeNames;     // tried in order after the files
    Kind kind = Kind::Document; // what the drawing of last resort shows
    // The target whose own icon is tried after those, when the shortcut names an icon of its
    // own: it is looked for only if that icon cannot be had, since finding it may read the
    // target or match its name against every pattern of the MIME database.
    QString fallbackTarget;
};

// Decides where the item's icon comes from: the shortcut's icon location when it has one (a file,
// a ".desktop" file's Icon=, or an icon theme name), else the icon of the target: a desktop
// entry's Icon=, a folder's ".directory" icon or the theme's "folder", any other file the icon of
// its MIME type, and a generic program or document icon after those (ItemIconImage adds that).
// Reads files but draws nothing, so it is safe to call from any thread.
ItemIconSource ResolveItemIcon(const TItemData& item);

// The icon as a pixelSize x pixelSize image. Files are read in any thread; icon theme names are
// looked up with QIcon::fromTheme, which only the GUI thread may call.
QImage ItemIconImage(const ItemIconSource& source, int pixelSize = kItemIconSize);

// The picture of an image or icon file (number index of an ".ico") or the icon group number index
// of a Windows program or library, as a pixelSize x pixelSize image; a null image when the file
// holds no such icon. Safe to call from any thread.
QImage ReadIconFile(const QString& path, int index, int pixelSize = kItemIconSize);
