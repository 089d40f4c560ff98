#pragma once

#include <optional>

#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>

// The largest picture a skin may hold, in pixels: decoding is refused beyond it so that a bad
// header cannot make the loader allocate more than a few MB.
inline constexpr qint64 MaxSkinPicturePixels = 1024 * 1024;

// The files of one skin folder. Skins made on Windows name their files in any letter case, so a
// file is found by its name with the letters A to Z folded; an exact match wins over the others.
class SkinFolder {
public:
    // path: the folder with a trailing "/".
    explicit SkinFolder(QString path);

    const QString& path() const { return m_path; }
    // The full path of the regular file with that name, or an empty text.
    QString findFile(const QString& name) const;
    // The regular files whose names end in suffix (letter case ignored), in listing order.
    QStringList filesEndingIn(const QString& suffix) const;
    // The picture of that name widened to 32 bits per pixel, or nothing when the file is missing,
    // is not a whole, readable BMP picture or has more than maxPixels pixels.
    std::optional<QImage> readPicture(const QString& name, qint64 maxPixels = MaxSkinPicturePixels) const;

private:
    QString m_path;
    QStringList m_files;              // regular files, in listing order
    QHash<QString, QString> m_folded; // folded name -> first file of that name
};
