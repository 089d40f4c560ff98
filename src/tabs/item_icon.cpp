#include "tabs/item_icon.h"

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

QImage ReadImageFile(const QString& path, int index) {
    QImageReader reader(path);
    reader.setAllocationLimit(kIconAllocationLimitMiB);
    if (!reader.canRead())
        return {};
    if (index > 0 && !reader.jumpToImage(index))
        return {};
    return FitIcon(reader.read());
}

QImage DesktopEntryIcon(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const DesktopEntry entry = ParseDesktopEntry(file.read(kMaxDesktopEntrySize));
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
    const QString suffix = info.suffix().toLower();
    if (suffix == QLatin1String("exe") || suffix == QLatin1String("dll"))
        return ProgramIcon(source, index);
    return ReadImageFile(source, index);
}
