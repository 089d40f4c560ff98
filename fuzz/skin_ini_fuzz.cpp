// Reads arbitrary bytes as a skin.ini: the [Skin] keys with their boxes, and the [Meta] keys.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArrayView>

#include "common/ini_file.h"
#include "skins/skin.h"
#include "skins/skin_definition.h"
#include "skins/skin_meta.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const IniFile ini = IniFile::fromData(QStringLiteral("skin.ini"), QByteArrayView(data, qsizetype(size)));
    TSkin skin;
    ReadSkinDefinition(ini, skin);
    // Loop keys below 1 count as 1, so the loop starts are never negative.
    if (skin.TabLoopStart < 0 || skin.ItemLoopStart < 0 || skin.ItemHLoopStart < 0)
        std::abort();
    // Sizes and boxes stay within the bounds that keep placement and drawing from overflowing;
    // the tab, head and item sizes and the font sizes are never 0 or less.
    for (const qint32 size :
         {skin.TabWidth, skin.TabHeight, skin.HeadHeight, skin.ItemHeight, skin.RoundRad}) {
        if (size < 0 || size > kMaxSkinLength)
            std::abort();
    }
    for (const qint32 size : {skin.TabWidth, skin.TabHeight, skin.HeadHeight, skin.ItemHeight,
                              skin.TitleFontSize, skin.TextFontSize}) {
        if (size <= 0)
            std::abort();
    }
    // Each size replaced by its default is said once, with the skin's name.
    if (skin.Warnings.size() > 6)
        std::abort();
    for (const SkinBox& box : {skin.TitlePos, skin.IconPos, skin.TextPos}) {
        for (const qint32 v : {box.Left, box.Top, box.Width, box.Height}) {
            if (v < -kMaxSkinLength || v > kMaxSkinLength)
                std::abort();
        }
    }
    const SkinMeta meta = ReadSkinMeta(ini);
    if (meta.Website && !WebsiteAddress(*meta.Website).startsWith(u"http://", Qt::CaseInsensitive))
        std::abort();
    return 0;
}
