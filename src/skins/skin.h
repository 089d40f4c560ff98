#pragma once

#include <optional>

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

    QList<QImage> TabBitmaps;
    QList<QImage> ItemBitmaps;
    QList<QImage> ItemHBitmaps;
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
};

// Raised by TSkin::Load for a name that is not a skin folder; the message is the one the user
// sees, and the program is then to end.
class SkinNotFound : public Error {
public:
    explicit SkinNotFound(const QString& name) : Error(QStringLiteral("Skin not found: ") + name) {}
};

// Picture n (from 1) of a series ("tab", "item" or "itemh") prepared for the edge: the edge's own
// variant ("lefttab1.bmp") unrotated, or else the plain picture ("tab1.bmp", and "tab.bmp" for
// n = 1) turned for the edge. Nothing when neither exists or can be read: the series ends there.
std::optional<QImage> LoadSkinBitmap(const SkinFolder& folder, const QString& series, int n, TabEdge edge);
