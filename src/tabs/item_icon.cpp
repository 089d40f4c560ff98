#include "tabs/item_icon.h"

#include <QBuffer>
#include <QCache>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QPainter>

#include "common/regular_file.h"
#include "formats/desktop_entry.h"
#include "formats/pe_icon.h"

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

QCache<QString, CachedIcon>& IconCache() {
    static QCache<QString, CachedIcon> cache(kCachedIcons);
    return cache;
}

QImage FitIcon(const QImage& picture) {
    if (picture.isNull())
        return {};
    QImage icon(kItemIconSize, kItemIconSize, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    const QImage scaled = picture.size() == icon.size()
                              ? picture
                              : picture.scaled(icon.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&icon);
    painter.drawImage((kItemIconSize - scaled.width()) / 2, (kItemIconSize - scaled.height()) / 2, scaled);
    painter.end();
    return icon;
}

// An icon file is read whole first, as a regular file only: the decoder would open a FIFO named
// by an Icon= line and wait for a writer for ever.
QImage ReadImageFile(const QString& path, int index) {
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
    return FitIcon(reader.read());
}

QImage DesktopEntryIcon(const QString& path) {
    const std::optional<QByteArray> bytes = ReadRegularFile(path, kMaxDesktopEntrySize);
    if (!bytes)
        return {};
    const DesktopEntry entry = ParseDesktopEntry(*bytes);
    if (entry.icon.isEmpty())
        return {};
    if (QFileInfo(entry.icon).isAbsolute())
        return ReadImageFile(entry.icon, 0);
    const QIcon icon = QIcon::fromTheme(entry.icon);
    if (icon.isNull())
        return {};
    return FitIcon(icon.pixmap(kItemIconSize, kItemIconSize).toImage());
}

// The icon group of a Windows program or library. The file is mapped, not read, so a large program
// costs no memory.
QImage ProgramIcon(const QString& path, int index) {
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
    return FitIcon(QImage::fromData(*ico, "ICO"));
}

} // namespace

QImage ExtractItemIcon(const QString& source, int index) {
    const QFileInfo info(source);
    if (source.isEmpty() || !info.isFile())
        return {};
    if (info.suffix().compare(QLatin1String("desktop"), Qt::CaseInsensitive) == 0)
        return DesktopEntryIcon(source);
    // A .desktop file is not cached: its icon can change in the theme while the file stays.
    const QString key = info.absoluteFilePath() + u'\n' + QString::number(index);
    const QDateTime modified = info.lastModified();
    if (const CachedIcon* cached = IconCache().object(key)) {
        if (cached->size == info.size() && cached->modified == modified)
            return cached->icon;
    }
    const QString suffix = info.suffix().toLower();
    QImage icon = suffix == QLatin1String("exe") || suffix == QLatin1String("dll")
                      ? ProgramIcon(source, index)
                      : ReadImageFile(source, index);
    IconCache().insert(key, new CachedIcon{info.size(), modified, icon});
    return icon;
}
