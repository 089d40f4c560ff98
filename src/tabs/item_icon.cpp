#include "tabs/item_icon.h"

#include <QCache>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QPainter>

#include "formats/desktop_entry.h"
#include "formats/pe_icon.h"

namespace {

// Icon files far larger than this are not icons; the decoder is not asked to allocate for them.
constexpr int kIconAllocationLimitMiB = 16;
// Programs and libraries larger than this are not looked into.
constexpr qint64 kMaxProgramSize = qint64(1) << 30;
// Icons kept from earlier reads; at 4 KiB a 32-pixel icon, this is at most 4 MiB (16 MiB for
// icons read for a screen of ratio 2).
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

QImage ReadImageFile(const QString& path, int index, int pixelSize) {
    QImageReader reader(path);
    reader.setAllocationLimit(kIconAllocationLimitMiB);
    if (!reader.canRead())
        return {};
    if (index > 0 && !reader.jumpToImage(index))
        return {};
    return FitIcon(reader.read(), pixelSize);
}

QImage DesktopEntryIcon(const QString& path, int pixelSize) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const DesktopEntry entry = ParseDesktopEntry(file.read(kMaxDesktopEntrySize));
    if (entry.icon.isEmpty())
        return {};
    if (QFileInfo(entry.icon).isAbsolute())
        return ReadImageFile(entry.icon, 0, pixelSize);
    const QIcon icon = QIcon::fromTheme(entry.icon);
    if (icon.isNull())
        return {};
    return FitIcon(icon.pixmap(QSize(pixelSize, pixelSize), 1.0).toImage(), pixelSize);
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

} // namespace

QImage ExtractItemIcon(const QString& source, int index, int pixelSize) {
    const QFileInfo info(source);
    if (source.isEmpty() || !info.isFile())
        return {};
    if (info.suffix().compare(QLatin1String("desktop"), Qt::CaseInsensitive) == 0)
        return DesktopEntryIcon(source, pixelSize);
    // A .desktop file is not cached: its icon can change in the theme while the file stays.
    const QString key =
        info.absoluteFilePath() + u'\n' + QString::number(index) + u'\n' + QString::number(pixelSize);
    const QDateTime modified = info.lastModified();
    if (const CachedIcon* cached = IconCache().object(key)) {
        if (cached->size == info.size() && cached->modified == modified)
            return cached->icon;
    }
    const QString suffix = info.suffix().toLower();
    QImage icon = suffix == QLatin1String("exe") || suffix == QLatin1String("dll")
                      ? ProgramIcon(source, index, pixelSize)
                      : ReadImageFile(source, index, pixelSize);
    IconCache().insert(key, new CachedIcon{info.size(), modified, icon});
    return icon;
}
