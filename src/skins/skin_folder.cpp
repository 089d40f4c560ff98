#include "skins/skin_folder.h"

#include <algorithm>
#include <cstdlib>

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include "common/names.h"
#include "common/regular_file.h"
#include "formats/bmp_header.h"

SkinFolder::SkinFolder(QString path) : m_path(std::move(path)) {
    const QDir dir(m_path);
    const QStringList names =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString& name : names) {
        if (!QFileInfo(m_path + name).isFile())
            continue;
        m_files.append(name);
        // The first file of each folded name, in listing order, answers for that name.
        const QString folded = FoldCase(name);
        if (!m_folded.contains(folded))
            m_folded.insert(folded, name);
    }
}

QString SkinFolder::findFile(const QString& name) const {
    if (m_files.contains(name))
        return m_path + name;
    const auto found = m_folded.constFind(FoldCase(name));
    return found == m_folded.cend() ? QString() : m_path + found.value();
}

QStringList SkinFolder::filesEndingIn(const QString& suffix) const {
    const QString folded = FoldCase(suffix);
    QStringList result;
    for (const QString& name : m_files) {
        if (FoldCase(name).endsWith(folded))
            result.append(m_path + name);
    }
    return result;
}

std::optional<QImage> SkinFolder::readPicture(const QString& name, qint64 maxPixels) const {
    const QString file = findFile(name);
    if (file.isEmpty())
        return std::nullopt;
    // Only a regular file is read, and only up to the size a picture of the largest size can
    // have (32 bits a pixel, with room for headers); one byte more tells a larger file.
    const qint64 maxFileSize = 4 * maxPixels + (qint64(1) << 20);
    std::optional<QByteArray> bytes = ReadRegularFile(file, maxFileSize + 1);
    if (!bytes || bytes->size() > maxFileSize)
        return std::nullopt;
    // The headers are checked before anything is decoded: the picture must be of a sensible size,
    // and a file cut short in its pixel rows counts as unreadable (the decoder would fill the
    // missing rows with whatever memory held).
    const std::optional<BmpHeader> header =
        ReadBmpHeader(QByteArrayView(*bytes).first(std::min<qsizetype>(bytes->size(), BmpHeaderBytes)));
    if (!header || qint64(header->width) * std::abs(qint64(header->height)) > maxPixels)
        return std::nullopt;
    const std::optional<qint64> needed = header->requiredFileSize();
    if (needed && bytes->size() < *needed)
        return std::nullopt;
    QBuffer device(&*bytes);
    device.open(QIODevice::ReadOnly);
    QImageReader reader(&device, "bmp");
    reader.setAutoDetectImageFormat(false);
    QImage picture;
    if (!reader.read(&picture) || picture.isNull())
        return std::nullopt;
    return picture.convertToFormat(QImage::Format_RGB32);
}
