#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include "common/colour.h"
#include "common/settings.h"

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
