#include "skins/skin_folder.h"

#include <cstdlib>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "common/names.h"
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
    QFile device(file);
    if (!device.open(QIODevice::ReadOnly))
        return std::nullopt;
    // The headers are checked before anything is decoded: the picture must be of a sensible size,
    // and a file cut short in its pixel rows counts as unreadable (the decoder would fill the
    // missing rows with whatever memory held).
    const std::optional<BmpHeader> header = ReadBmpHeader(device.peek(BmpHeaderBytes));
    if (!header || qint64(header->width) * std::abs(qint64(header->height)) > maxPixels)
        return std::nullopt;
    const std::optional<qint64> needed = header->requiredFileSize();
    if (needed && device.size() < *needed)
        return std::nullopt;
    QImageReader reader(&device, "bmp");
    reader.setAutoDetectImageFormat(false);
    QImage picture;
    if (!reader.read(&picture) || picture.isNull())
        return std::nullopt;
    return picture.convertToFormat(QImage::Format_RGB32);
}
