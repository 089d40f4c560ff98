#include "skins/skin.h"

#include <algorithm>

#include "common/hsl.h"
#include "common/ini_file.h"
#include "common/names.h"
#include "skins/scaled_picture.h"
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

// A picture as read from the skin folder, with the name of its file without ".bmp".
struct NamedPicture {
    QImage picture;
    QString stem;
};

// Picture n of a series under the given prefix: the numbered name, and for n = 1 the bare name
// when the numbered one is missing.
std::optional<NamedPicture> ReadNumbered(const SkinFolder& folder, const QString& prefix, int n) {
    for (const QString& stem : {QString(prefix + QString::number(n)), prefix}) {
        if (std::optional<QImage> picture = folder.readPicture(stem + u".bmp"))
            return NamedPicture{std::move(*picture), stem};
        if (n != 1)
            break;
    }
    return std::nullopt;
}

// What one skin's pictures may cost: no tab set shows more than a few hundred pictures of a
// series, and a skin of small files can decode to gigabytes. Past either limit the series ends.
constexpr int kMaxSeriesPictures = 256;
constexpr qint64 kMaxSkinPictureBytes = qint64(64) << 20;

struct PictureBudget {
    qint64 bytes = 0;
    bool exceeded = false;
};

struct Series {
    QList<QImage> pictures;
    QList<QImage> pictures2x;
};

Series LoadSeries(const SkinFolder& folder, const QString& series, TabEdge edge, PictureBudget& budget) {
    Series loaded;
    for (int n = 1;; ++n) {
        std::optional<SkinBitmap> bitmap = LoadSkinBitmap(folder, series, n, edge);
        if (!bitmap)
            break;
        const qint64 bytes = bitmap->picture.sizeInBytes() + bitmap->picture2x.sizeInBytes();
        if (n > kMaxSeriesPictures || budget.bytes + bytes > kMaxSkinPictureBytes) {
            budget.exceeded = true;
            break;
        }
        budget.bytes += bytes;
        loaded.pictures.append(std::move(bitmap->picture));
        loaded.pictures2x.append(std::move(bitmap->picture2x));
    }
    return loaded;
}

} // namespace

std::optional<SkinBitmap> LoadSkinBitmap(const SkinFolder& folder, const QString& series, int n,
                                         TabEdge edge) {
    const EdgeRule rule = RuleFor(edge);
    std::optional<NamedPicture> found;
    int rotation = 0;
    if (rule.variantPrefix)
        found = ReadNumbered(folder, QLatin1StringView(rule.variantPrefix) + series, n);
    if (!found) {
        found = ReadNumbered(folder, series, n);
        rotation = rule.rotation;
    }
    if (!found)
        return std::nullopt;
    SkinBitmap bitmap{std::move(found->picture), {}};
    // A picture for ratio 2 has four times the pixels of the largest normal one.
    if (std::optional<QImage> detail = folder.readPicture(found->stem + u"@2x.bmp", 4 * MaxSkinPicturePixels))
        bitmap.picture2x = std::move(*detail);
    for (QImage* picture : {&bitmap.picture, &bitmap.picture2x}) {
        if (!picture->isNull())
            RotateBitmap(*picture, rotation);
    }
    return bitmap;
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
    PictureBudget budget;
    Series tabs = LoadSeries(folder, QStringLiteral("tab"), edge, budget);
    Series items = LoadSeries(folder, QStringLiteral("item"), edge, budget);
    Series itemsH = LoadSeries(folder, QStringLiteral("itemh"), edge, budget);
    if (budget.exceeded)
        next.Warnings.append(UserText("Skin.TooManyPictures",
                                      "The skin %1 has more pictures than Kelvara loads (at most %2 "
                                      "in a series and %3 MiB in all); the rest are left out.")
                                 .arg(name)
                                 .arg(kMaxSeriesPictures)
                                 .arg(kMaxSkinPictureBytes >> 20));
    next.TabBitmaps = std::move(tabs.pictures);
    next.ItemBitmaps = std::move(items.pictures);
    next.ItemHBitmaps = std::move(itemsH.pictures);
    next.TabBitmaps2x = std::move(tabs.pictures2x);
    next.ItemBitmaps2x = std::move(items.pictures2x);
    next.ItemHBitmaps2x = std::move(itemsH.pictures2x);
    // Each step runs on the normal pictures and then on the pictures for ratio 2, which a skin
    // may lack (null pictures are left alone).
    using Lists = std::initializer_list<QList<QImage>*>;
    const Lists allSeries = {&next.TabBitmaps,   &next.ItemBitmaps,   &next.ItemHBitmaps,
                             &next.TabBitmaps2x, &next.ItemBitmaps2x, &next.ItemHBitmaps2x};
    auto forEachPicture = [](Lists lists, auto&& step) {
        for (QList<QImage>* series : lists) {
            for (QImage& picture : *series) {
                if (!picture.isNull())
                    step(picture);
            }
        }
    };

    if (settings.Colorize)
        forEachPicture(allSeries,
                       [&](QImage& picture) { ColorizeBitmap(picture, settings.ColorizeHue, exempt); });
    if (settings.InvertLum)
        forEachPicture(allSeries, [&](QImage& picture) { InvertLightness(picture, exempt); });
    if (layeredMode) {
        const auto shapeTabs = [&](QImage& picture, int radius) {
            if (next.TabShape == ShapeKind::Rounded)
                RoundCorners(picture, radius, edge);
            else if (next.TabShape == ShapeKind::Index)
                ReplaceColour(picture, next.TransColor, KeyColour);
        };
        forEachPicture(Lists{&next.TabBitmaps}, [&](QImage& picture) { shapeTabs(picture, next.RoundRad); });
        forEachPicture(Lists{&next.TabBitmaps2x},
                       [&](QImage& picture) { shapeTabs(picture, 2 * next.RoundRad); });
        if (next.ItemShape == ShapeKind::Index) {
            forEachPicture(
                Lists{&next.ItemBitmaps, &next.ItemHBitmaps, &next.ItemBitmaps2x, &next.ItemHBitmaps2x},
                [&](QImage& picture) { ReplaceColour(picture, next.TransColor, KeyColour); });
        }
    }
    *this = std::move(next);
}

std::vector<qint64> TSkin::SourceKeys() const {
    std::vector<qint64> keys;
    for (const QList<QImage>* series :
         {&TabBitmaps, &ItemBitmaps, &ItemHBitmaps, &TabBitmaps2x, &ItemBitmaps2x, &ItemHBitmaps2x}) {
        for (const QImage& picture : *series)
            keys.push_back(picture.cacheKey());
        keys.push_back(-1); // where one series ends
    }
    return keys;
}

SkinSeries TSkin::PicturesAt(qreal ratio) const {
    if (qFuzzyCompare(ratio, 1.0) || ratio <= 0)
        return {TabBitmaps, ItemBitmaps, ItemHBitmaps};
    const std::vector<qint64> sources = SourceKeys();
    auto scaled = std::find_if(m_scaled.begin(), m_scaled.end(),
                               [&](const Scaled& s) { return qFuzzyCompare(s.ratio, ratio); });
    if (scaled == m_scaled.end()) {
        m_scaled.push_back({ratio, {}, {}, {}, {}});
        scaled = m_scaled.end() - 1;
    }
    if (scaled->sources != sources) {
        auto scale = [ratio](const QList<QImage>& pictures, const QList<QImage>& pictures2x) {
            QList<QImage> result;
            for (qsizetype i = 0; i < pictures.size(); ++i)
                result.append(ScaleSkinPicture(pictures[i], pictures2x.value(i), ratio));
            return result;
        };
        scaled->tab = scale(TabBitmaps, TabBitmaps2x);
        scaled->item = scale(ItemBitmaps, ItemBitmaps2x);
        scaled->itemH = scale(ItemHBitmaps, ItemHBitmaps2x);
        scaled->sources = sources;
    }
    return {scaled->tab, scaled->item, scaled->itemH};
}
