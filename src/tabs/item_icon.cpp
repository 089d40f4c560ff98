#include "tabs/item_icon.h"

#include <QBuffer>
#include <QCache>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QMimeDatabase>
#include <QMutex>
#include <QPainter>
#include <QPainterPath>

#include "common/regular_file.h"
#include "formats/pe_icon.h"
#include "tabs/desktop_file.h"
#include "tabs/desktop_opener.h"
#include "tabs/tab.h"
#include "tabs/theme_icon_files.h"

namespace {

// Icon files far larger than this are not icons; the decoder is not asked to allocate for them.
constexpr int kIconAllocationLimitMiB = 16;
// Programs and libraries larger than this are not looked into.
constexpr qint64 kMaxProgramSize = qint64(1) << 30;
// Icons kept from earlier reads; at 4 KiB an icon, this is at most 4 MiB.
constexpr int kCachedIcons = 1024;

// An icon read from a picture, icon or program file, kept for as long as the file keeps its size
// and modification time: every refresh reads all shortcuts again, and their icons seldom change.
struct CachedIcon {
    qint64 size = 0;
    QDateTime modified;
    QImage icon;
};

// The cache is shared by every thread that reads icons.
QMutex& CacheLock() {
    static QMutex lock;
    return lock;
}

QCache<QString, CachedIcon>& IconCache() {
    static QCache<QString, CachedIcon> cache(kCachedIcons);
    return cache;
}

QImage FitIcon(const QImage& picture, int pixelSize) {
    if (picture.isNull())
        return {};
    QImage icon(pixelSize, pixelSize, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    const QImage scaled = picture.size() == icon.size()
                              ? picture
                              : picture.scaled(icon.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&icon);
    painter.drawImage((pixelSize - scaled.width()) / 2, (pixelSize - scaled.height()) / 2, scaled);
    painter.end();
    return icon;
}

// An icon file is read whole first, as a regular file only: the decoder would open a FIFO named
// by an Icon= line and wait for a writer for ever.
QImage ReadImageFile(const QString& path, int index, int pixelSize) {
    std::optional<QByteArray> bytes = ReadRegularFile(path, qint64(kIconAllocationLimitMiB) << 20);
    if (!bytes)
        return {};
    QBuffer buffer(&*bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, QFileInfo(path).suffix().toLatin1());
    reader.setAllocationLimit(kIconAllocationLimitMiB);
    if (!reader.canRead())
        return {};
    if (index > 0 && !reader.jumpToImage(index))
        return {};
    // Scalable pictures are drawn at the size asked for rather than enlarged.
    if (reader.supportsOption(QImageIOHandler::ScaledSize))
        reader.setScaledSize(reader.size().scaled(pixelSize, pixelSize, Qt::KeepAspectRatio));
    return FitIcon(reader.read(), pixelSize);
}

// The icon group of a Windows program or library. The file is mapped, not read, so a large program
// costs no memory.
QImage ProgramIcon(const QString& path, int index, int pixelSize) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0 || file.size() > kMaxProgramSize)
        return {};
    const uchar* bytes = file.map(0, file.size());
    if (!bytes)
        return {};
    const std::optional<QByteArray> ico =
        ExtractPeIconGroup(QByteArrayView(reinterpret_cast<const char*>(bytes), file.size()), index);
    file.unmap(const_cast<uchar*>(bytes));
    if (!ico)
        return {};
    return FitIcon(QImage::fromData(*ico, "ICO"), pixelSize);
}

bool HasSuffix(const QFileInfo& info, const char* suffix) {
    return info.suffix().compare(QLatin1String(suffix), Qt::CaseInsensitive) == 0;
}

bool IsDesktopFile(const QFileInfo& info) {
    return info.isFile() && HasSuffix(info, "desktop");
}

// A file whose own picture is its icon: a picture, an icon file, a Windows program or library.
bool HoldsIcon(const QFileInfo& info) {
    return info.isFile() && (HasSuffix(info, "exe") || HasSuffix(info, "dll") ||
                             !QImageReader::imageFormat(info.filePath()).isEmpty());
}

// An Icon= value: an absolute path names a file; anything else is a theme name, given without
// extension, though some entries add one.
void AddIconValue(ItemIconSource& source, const QString& value) {
    if (value.isEmpty())
        return;
    if (QFileInfo(value).isAbsolute()) {
        if (QFileInfo(value).isFile())
            source.files.append({value, 0});
        return;
    }
    // A theme name is a name: one holding "/" or ".." would climb out of the theme's folders.
    if (value.contains(u'/') || value.contains(QLatin1String("..")))
        return;
    QString name = value;
    for (const char* extension : {".png", ".svg", ".xpm"}) {
        if (name.endsWith(QLatin1String(extension), Qt::CaseInsensitive))
            name.chop(4);
    }
    source.themeNames.append(name);
}

void AddDesktopFileIcon(ItemIconSource& source, const QString& path) {
    if (const std::optional<DesktopFileInfo> entry = ReadDesktopFile(path))
        AddIconValue(source, entry->icon);
}

ItemIconSource::Kind KindOf(const TItemData& item, const QFileInfo& target) {
    if (target.isDir())
        return ItemIconSource::Kind::Folder;
    if ((target.isFile() && target.isExecutable()) || IsDesktopFile(target) ||
        (!item.Target.isEmpty() && !item.Target.contains(QLatin1Char('/')) && !IsAddress(item.Target)))
        return ItemIconSource::Kind::Program;
    return ItemIconSource::Kind::Document;
}

// hasOwnIcon: the shortcut names an icon location, so the target's own picture file is not one.
void AddTargetIcon(ItemIconSource& source, const QString& targetPath, int iconIndex, bool hasOwnIcon) {
    const QFileInfo target(targetPath);
    if (targetPath.compare(QLatin1String("macro:screenres"), Qt::CaseInsensitive) == 0) {
        source.themeNames << QStringLiteral("preferences-desktop-display") << QStringLiteral("video-display");
        return;
    }
    if (IsDesktopFile(target)) {
        AddDesktopFileIcon(source, target.filePath());
        return;
    }
    if (target.isDir()) {
        AddDesktopFileIcon(source, target.filePath() + QStringLiteral("/.directory"));
        source.themeNames.append(QStringLiteral("folder"));
        return;
    }
    if (!target.exists() && IsAddress(targetPath)) {
        source.themeNames << QStringLiteral("text-html") << QStringLiteral("applications-internet");
        return;
    }
    if (!hasOwnIcon && HoldsIcon(target))
        source.files.append({target.filePath(), iconIndex});
    // By content when the file is there, else by name; a program name found on the PATH has none.
    if (target.exists() || target.isAbsolute()) {
        const QMimeType type = QMimeDatabase().mimeTypeForFile(target);
        if (!type.isDefault()) {
            source.themeNames << type.iconName() << type.genericIconName();
        }
    }
}

// The drawing of last resort: a sheet of paper, a folder or a program window.
QImage DrawnIcon(ItemIconSource::Kind kind, int pixelSize) {
    QImage icon(pixelSize, pixelSize, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixelSize / 32.0, pixelSize / 32.0);
    painter.setPen(QPen(QColor(80, 80, 80), 1.5));
    switch (kind) {
    case ItemIconSource::Kind::Folder:
        painter.setBrush(QColor(230, 190, 100));
        painter.drawRoundedRect(QRectF(2.5, 9.5, 27, 19), 2, 2);
        painter.drawRoundedRect(QRectF(2.5, 5.5, 11, 6), 2, 2);
        break;
    case ItemIconSource::Kind::Program:
        painter.setBrush(QColor(240, 240, 240));
        painter.drawRoundedRect(QRectF(2.5, 5.5, 27, 21), 2, 2);
        painter.fillRect(QRectF(3.5, 6.5, 25, 5), QColor(70, 110, 170));
        break;
    case ItemIconSource::Kind::Document: {
        QPainterPath sheet;
        sheet.moveTo(6.5, 2.5);
        sheet.lineTo(19.5, 2.5);
        sheet.lineTo(25.5, 8.5);
        sheet.lineTo(25.5, 29.5);
        sheet.lineTo(6.5, 29.5);
        sheet.closeSubpath();
        painter.setBrush(Qt::white);
        painter.drawPath(sheet);
        painter.drawPolyline(QPolygonF({{19.5, 2.5}, {19.5, 8.5}, {25.5, 8.5}}));
        break;
    }
    }
    painter.end();
    return icon;
}

QImage ThemeIcon(const QString& name, int pixelSize) {
    if (!ThemeLookupIsSafe(name))
        return {};
    const QIcon icon = QIcon::fromTheme(name);
    if (icon.isNull())
        return {};
    const QPixmap pixmap = icon.pixmap(QSize(pixelSize, pixelSize), 1.0);
    return pixmap.isNull() ? QImage() : FitIcon(pixmap.toImage(), pixelSize);
}

// The first of the source's files and theme names that gives a picture.
QImage FirstIcon(const ItemIconSource& source, int pixelSize) {
    for (const ItemIconSource::File& file : source.files) {
        if (QImage icon = ReadIconFile(file.path, file.index, pixelSize); !icon.isNull())
            return icon;
    }
    for (const QString& name : source.themeNames) {
        if (QImage icon = ThemeIcon(name, pixelSize); !icon.isNull())
            return icon;
    }
    return {};
}

// The theme's icon for any folder, program or document.
QString GenericIconName(ItemIconSource::Kind kind) {
    switch (kind) {
    case ItemIconSource::Kind::Folder:
        return QStringLiteral("folder");
    case ItemIconSource::Kind::Program:
        return QStringLiteral("application-x-executable");
    case ItemIconSource::Kind::Document:
        break;
    }
    return QStringLiteral("text-x-generic");
}

} // namespace

ItemIconSource ResolveItemIcon(const TItemData& item) {
    ItemIconSource source;
    const QFileInfo target(item.Target);
    source.kind = KindOf(item, target);
    const QString& location = item.IconLocation;
    if (!location.isEmpty()) {
        const QFileInfo info(location);
        if (IsDesktopFile(info))
            AddDesktopFileIcon(source, location);
        else if (info.isFile())
            source.files.append({location, item.IconIndex});
        else if (!location.contains(QLatin1Char('/')) && !location.contains(QLatin1Char('\\')) &&
                 !location.contains(QLatin1String("..")))
            source.themeNames.append(location);
    }
    if (source.files.isEmpty() && source.themeNames.isEmpty())
        AddTargetIcon(source, item.Target, item.IconIndex, !location.isEmpty());
    else
        source.fallbackTarget = item.Target;
    source.themeNames.removeAll(QString());
    source.themeNames.removeDuplicates();
    return source;
}

QImage ItemIconImage(const ItemIconSource& source, int pixelSize) {
    if (QImage icon = FirstIcon(source, pixelSize); !icon.isNull())
        return icon;
    if (!source.fallbackTarget.isNull()) {
        ItemIconSource target;
        AddTargetIcon(target, source.fallbackTarget, 0, true);
        if (QImage icon = FirstIcon(target, pixelSize); !icon.isNull())
            return icon;
    }
    if (QImage icon = ThemeIcon(GenericIconName(source.kind), pixelSize); !icon.isNull())
        return icon;
    return DrawnIcon(source.kind, pixelSize);
}

QImage ReadIconFile(const QString& path, int index, int pixelSize) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return {};
    const QString key =
        info.absoluteFilePath() + u'\n' + QString::number(index) + u'\n' + QString::number(pixelSize);
    const QDateTime modified = info.lastModified();
    {
        const QMutexLocker locker(&CacheLock());
        if (const CachedIcon* cached = IconCache().object(key)) {
            if (cached->size == info.size() && cached->modified == modified)
                return cached->icon;
        }
    }
    const QImage icon = HasSuffix(info, "exe") || HasSuffix(info, "dll")
                            ? ProgramIcon(path, index, pixelSize)
                            : ReadImageFile(path, index, pixelSize);
    const QMutexLocker locker(&CacheLock());
    IconCache().insert(key, new CachedIcon{info.size(), modified, icon});
    return icon;
}
