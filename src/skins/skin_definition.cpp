#include "skins/skin_definition.h"

#include <algorithm>

#include "common/names.h"
#include "skins/parse_box.h"

namespace {

const QString SkinSection = QStringLiteral("Skin");

class SkinKeys {
public:
    SkinKeys(const IniFile& ini, TSkin& skin) : m_ini(ini), m_skin(skin) {}

    qint32 integer(const char* key, qint32 defaultValue) const {
        return m_ini.readInteger(SkinSection, QLatin1StringView(key), defaultValue,
                                 IniFile::IntegerForms::DecimalOrHex);
    }
    qint32 size(const char* key, qint32 defaultValue, qint32 limit = kMaxSkinLength) const {
        return std::clamp(integer(key, defaultValue), 0, limit);
    }
    // A length that must be positive: 0 or less would draw the tabs one pixel high or wide, out of
    // sight beyond the screen edge, so such a value gives the default and a warning.
    qint32 positiveSize(const char* key, qint32 defaultValue, qint32 limit = kMaxSkinLength) const {
        const qint32 value = integer(key, defaultValue);
        if (value > 0)
            return std::min(value, limit);
        m_skin.Warnings.append(UserText("Skin.SizeNotPositive", "The skin %1 gives %2 the size %3; a size "
                                                                "must be more than 0, so %4 is used.")
                                   .arg(m_skin.Name)
                                   .arg(QString::fromLatin1(key))
                                   .arg(value)
                                   .arg(defaultValue));
        return defaultValue;
    }
    QString text(const char* key, const QString& defaultValue) const {
        return m_ini.readString(SkinSection, QLatin1StringView(key), defaultValue);
    }
    // Words are compared after folding A to Z; an empty value falls into the default's case.
    QString word(const char* key, const char* defaultValue) const {
        return FoldCase(text(key, QLatin1StringView(defaultValue)));
    }
    // The loop keys count from 1; values below 1 would pick pictures before the first one, so
    // they count as 1. Stored as the 0-based index of the first picture of the repeating run.
    qint32 loopStart(const char* key) const { return std::max(integer(key, 1), 1) - 1; }
    // Reads a box into the scratch box, which keeps what a malformed value leaves unread.
    SkinBox box(const char* key, const QString& defaultValue, SkinBox& scratch) const {
        ParseBox(text(key, defaultValue), scratch);
        const auto bounded = [](qint32 v) { return std::clamp(v, -kMaxSkinLength, kMaxSkinLength); };
        return {bounded(scratch.Left), bounded(scratch.Top), bounded(scratch.Width), bounded(scratch.Height)};
    }

private:
    const IniFile& m_ini;
    TSkin& m_skin;
};

} // namespace

void ReadSkinDefinition(const IniFile& ini, TSkin& skin) {
    const SkinKeys keys(ini, skin);
    const QString shape = keys.word("TabShape", "Rounded");
    skin.TabShape = shape == u"rect"    ? ShapeKind::Rect
                    : shape == u"index" ? ShapeKind::Index
                                        : ShapeKind::Rounded;
    skin.ItemShape = keys.word("ItemShape", "Rect") == u"index" ? ShapeKind::Index : ShapeKind::Rect;
    skin.TabLoopStart = keys.loopStart("TabLoop");
    skin.ItemLoopStart = keys.loopStart("ItemLoop");
    skin.ItemHLoopStart = keys.loopStart("ItemHLoop");
    skin.TabHeight = keys.positiveSize("TabHeight", 16);
    skin.TabWidth = keys.positiveSize("TabWidth", 128);
    skin.HeadHeight = keys.positiveSize("HeadHeight", 17);
    skin.ItemHeight = keys.positiveSize("ItemHeight", 40);
    skin.RoundRad = keys.size("RoundRad", 8);
    skin.TitleFont = keys.text("TitleFont", QStringLiteral("MS Sans Serif"));
    skin.TextFont = keys.text("TextFont", QStringLiteral("MS Sans Serif"));
    skin.TitleFontSize = keys.positiveSize("TitleFontSize", 8, kMaxSkinFontSize);
    skin.TextFontSize = keys.positiveSize("TextFontSize", 8, kMaxSkinFontSize);
    skin.FontColor = keys.integer("FontColor", 0);
    skin.TitleFontColor = keys.integer("TitleFontColor", 0);
    skin.SelFontColor = keys.integer("SelFontColor", 0);
    skin.TransColor = keys.integer("TransColor", 0);

    // One scratch box for the three boxes, cleared once per load.
    SkinBox scratch;
    const QString titleDefault = QStringLiteral("(0, 0, ") + QString::number(skin.TabWidth) +
                                 QStringLiteral(", ") + QString::number(skin.HeadHeight) + u')';
    skin.TitlePos = keys.box("TitlePos", titleDefault, scratch);
    skin.TitleFirstLetter = keys.word("TitleDisplay", "Normal") == u"firstletter";
    skin.UseIcon = keys.word("UseIcon", "Yes") != u"no";
    skin.UseText = keys.word("UseText", "Yes") != u"no";
    skin.UseTitle = keys.word("UseTitle", "Yes") != u"no";
    skin.NoGap = keys.word("NoGap", "No") == u"yes";
    skin.IconPos = keys.box("IconPos", QStringLiteral("(4, 4, 32, 32)"), scratch);
    skin.TextPos = keys.box("TextPos", QStringLiteral("(40, 4, 80, 32)"), scratch);
}
