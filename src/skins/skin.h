#pragma once

#include <optional>
#include <deque>
#include <vector>

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include "common/colour.h"
#include "common/error.h"
#include "common/settings.h"

class SkinFolder;

// A box within the head or an item row, as laid out for the bottom edge: offsets and a size.
struct SkinBox {
    qint32 Left = 0;
    qint32 Top = 0;
    qint32 Width = 0;
    qint32 Height = 0;
    friend bool operator==(const SkinBox&, const SkinBox&) = default;
};

enum class ShapeKind { Rounded, Rect, Index };

// The three picture series of a skin as drawn at one device pixel ratio.
struct SkinSeries {
    const QList<QImage>& Tab;
    const QList<QImage>& Item;
    const QList<QImage>& ItemH;
};

// One loaded skin: its metrics, fonts and colours, and the three picture series prepared for the
// configured screen edge. Every picture is 32 bits per pixel (QImage::Format_RGB32).
class TSkin {
public:
    // Fills every field from the skin folder of that name in skinRoots (FindSkinFolder: the
    // user's skin before a shipped one) and prepares the pictures for settings.TabPos, tinted and
    // inverted as the settings ask. In layered mode the see-through parts of the pictures are
    // painted with KeyColour. Raises SkinNotFound, leaving the skin as
    // it was, when the name is not one of skinList (letters A to Z compared without case).
    void Load(const QString& name, const Settings& settings, const QStringList& skinList,
              const QStringList& skinRoots, bool layeredMode);

    // The colour that tinting and inversion leave alone: TransColor when a shape is given by it,
    // otherwise NoColour.
    ColourValue ExemptColour() const;

    // The series for drawing at `ratio` device pixels per logical pixel: at 1 the three series
    // below; at any other ratio made on first use from them and their "@2x" pictures
    // (ScaleSkinPicture) and kept until the pictures change. Every picture then carries that
    // device pixel ratio. For the user-interface thread only, like all drawing.
    SkinSeries PicturesAt(qreal ratio) const;

    QList<QImage> TabBitmaps;
    QList<QImage> ItemBitmaps;
    QList<QImage> ItemHBitmaps;
    // The skin's pictures for ratio 2 ("tab1@2x.bmp" beside "tab1.bmp"), one for each picture of
    // the series above and prepared as it was (turned, tinted, inverted, see-through parts in
    // KeyColour with the corner radius doubled); a null picture where the skin has none.
    QList<QImage> TabBitmaps2x;
    QList<QImage> ItemBitmaps2x;
    QList<QImage> ItemHBitmaps2x;
    qint32 TabWidth = 0;
    qint32 TabHeight = 0;
    qint32 HeadHeight = 0;
    qint32 ItemHeight = 0;
    qint32 RoundRad = 0;
    qint32 TabLoopStart = 0;
    qint32 ItemLoopStart = 0;
    qint32 ItemHLoopStart = 0;
    ColourValue TitleFontColor = 0;
    ColourValue FontColor = 0;
    ColourValue SelFontColor = 0;
    ColourValue TransColor = 0;
    QString TitleFont;
    QString TextFont;
    qint32 TitleFontSize = 0;
    qint32 TextFontSize = 0;
    bool TitleFirstLetter = false;
    bool UseIcon = false;
    bool UseText = false;
    bool UseTitle = false;
    bool NoGap = false;
    QString Name;
    SkinBox TitlePos;
    SkinBox IconPos;
    SkinBox TextPos;
    ShapeKind TabShape = ShapeKind::Rounded;
    ShapeKind ItemShape = ShapeKind::Rect;
    // What the last Load left out of the skin, a sentence each, for the error report.
    QList<UserText> Warnings;

private:
    // The series made for one ratio, and the pictures they were made from.
    struct Scaled {
        qreal ratio = 1;
        std::vector<qint64> sources;
        QList<QImage> tab, item, itemH;
    };
    std::vector<qint64> SourceKeys() const;
    // A deque, so that the series handed out stay where they are when another ratio is added.
    mutable std::deque<Scaled> m_scaled;
};

// Raised by TSkin::Load for a name that is not a skin folder; the message is the one the user
// sees, and the program is then to end.
class SkinNotFound : public Error {
public:
    explicit SkinNotFound(const QString& name)
        : Error(UserText("Skin.NotFound", "Skin not found: %1").arg(name)) {}
};

// A picture of a series and its picture for ratio 2 (null when the skin has none).
struct SkinBitmap {
    QImage picture;
    QImage picture2x;
};

// Picture n (from 1) of a series ("tab", "item" or "itemh") prepared for the edge: the edge's own
// variant ("lefttab1.bmp") unrotated, or else the plain picture ("tab1.bmp", and "tab.bmp" for
// n = 1) turned for the edge. Nothing when neither exists or can be read: the series ends there.
// The picture for ratio 2 is the file of the same name with "@2x" before ".bmp", turned alike.
std::optional<SkinBitmap> LoadSkinBitmap(const SkinFolder& folder, const QString& series, int n,
                                         TabEdge edge);
