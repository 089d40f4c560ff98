#include "skins/skin.h"

#include <algorithm>

#include "common/hsl.h"
#include "common/ini_file.h"
#include "common/names.h"
#include "skins/skin_bitmap.h"
#include "skins/skin_definition.h"
#include "skins/skin_folder.h"
#include "skins/skin_fonts.h"
#include "skins/skin_list.h"

namespace {

// The prefix of a series' edge variants and the clockwise turn of a plain picture for the edge.
struct EdgeRule {
    const char* variantPrefix;
    int rotation;
};

EdgeRule RuleFor(TabEdge edge) {
    switch (edge) {
    case TabEdge::Left:
        return {"left", 90};
    case TabEdge::Top:
        return {"top", 180};
    case TabEdge::Right:
        return {"right", 270};
    case TabEdge::Bottom:
        break;
    }
    return {nullptr, 0};
}

// Picture n of a series under the given prefix: the numbered name, and for n = 1 the bare name
// when the numbered one is missing.
std::optional<QImage> ReadNumbered(const SkinFolder& folder, const QString& stem, int n) {
    if (std::optional<QImage> picture = folder.readPicture(stem + QString::number(n) + u".bmp"))
        return picture;
    if (n == 1)
        return folder.readPicture(stem + u".bmp");
    return std::nullopt;
}

QList<QImage> LoadSeries(const SkinFolder& folder, const QString& series, TabEdge edge) {
    QList<QImage> pictures;
    for (int n = 1;; ++n) {
        std::optional<QImage> picture = LoadSkinBitmap(folder, series, n, edge);
        if (!picture)
            break;
        pictures.append(std::move(*picture));
    }
    return pictures;
}

} // namespace

std::optional<QImage> LoadSkinBitmap(const SkinFolder& folder, const QString& series, int n, TabEdge edge) {
    const EdgeRule rule = RuleFor(edge);
    if (rule.variantPrefix) {
        if (std::optional<QImage> variant =
                ReadNumbered(folder, QLatin1StringView(rule.variantPrefix) + series, n))
            return variant;
    }
    std::optional<QImage> picture = ReadNumbered(folder, series, n);
    if (picture && rule.rotation != 0)
        RotateBitmap(*picture, rule.rotation);
    return picture;
}

ColourValue TSkin::ExemptColour() const {
    return TabShape == ShapeKind::Index || ItemShape == ShapeKind::Index ? TransColor : NoColour;
}

void TSkin::Load(const QString& name, const Settings& settings, const QStringList& skinList,
                 const QStringList& skinRoots, bool layeredMode) {
    const auto listed = std::find_if(skinList.cbegin(), skinList.cend(),
                                     [&](const QString& skin) { return SameName(skin, name); });
    if (listed == skinList.cend())
        throw SkinNotFound(name);
    // Names match without regard to case as on the systems where skins are made; on a file
    // system that tells case apart, a name spelt otherwise than its folder finds that folder.
    const SkinFolder folder(FindSkinFolder(skinRoots, name));

    // Everything is built into a fresh skin and moved in at the end, so the previous pictures
    // go away only when the new ones are ready.
    TSkin next;
    next.Name = name;

    // Fonts come first so that TitleFont and TextFont may name the skin's own faces.
    for (const QString& font : folder.filesEndingIn(QStringLiteral(".ttf")))
        RegisterSkinFont(font);

    const QString definition = folder.findFile(QStringLiteral("skin.ini"));
    ReadSkinDefinition(IniFile(definition.isEmpty() ? folder.path() + u"skin.ini" : definition), next);
    const ColourValue exempt = next.ExemptColour();

    const TabEdge edge = settings.TabPos;
    next.TabBitmaps = LoadSeries(folder, QStringLiteral("tab"), edge);
    next.ItemBitmaps = LoadSeries(folder, QStringLiteral("item"), edge);
    next.ItemHBitmaps = LoadSeries(folder, QStringLiteral("itemh"), edge);
    QList<QImage>* const allSeries[] = {&next.TabBitmaps, &next.ItemBitmaps, &next.ItemHBitmaps};

    if (settings.Colorize) {
        for (QList<QImage>* series : allSeries) {
            for (QImage& picture : *series)
                ColorizeBitmap(picture, settings.ColorizeHue, exempt);
        }
    }
    if (settings.InvertLum) {
        for (QList<QImage>* series : allSeries) {
            for (QImage& picture : *series)
                InvertLightness(picture, exempt);
        }
    }
    if (layeredMode) {
        for (QImage& picture : next.TabBitmaps) {
            if (next.TabShape == ShapeKind::Rounded)
                RoundCorners(picture, next.RoundRad, edge);
            else if (next.TabShape == ShapeKind::Index)
                ReplaceColour(picture, next.TransColor, KeyColour);
        }
        if (next.ItemShape == ShapeKind::Index) {
            for (QList<QImage>* series : {&next.ItemBitmaps, &next.ItemHBitmaps}) {
                for (QImage& picture : *series)
                    ReplaceColour(picture, next.TransColor, KeyColour);
            }
        }
    }
    *this = std::move(next);
}
