#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QStringList>

#include "common/settings.h"
#include "skins/skin.h"
#include "tabs/tab.h"

class QPainter;

// The preview of the skins page: a skin of its own, apart from the one the tabs use, and two tab
// models drawn in it, an open tab "System" with three items ("Configuration" highlighted) and a
// closed tab "Games". Everything is drawn for the bottom edge with every setting zero: no
// colourizing, no inverted lightness.
class SkinPreview {
public:
    SkinPreview();
    SkinPreview(const SkinPreview&) = delete;
    SkinPreview& operator=(const SkinPreview&) = delete;

    // Loads PreviewSkin from the skin folder of that name in skinRoots with PreviewSettings and
    // updates the lengths of both tabs. Raises SkinNotFound, keeping the skin shown so far, for a
    // name that is not in skinList.
    void load(const QString& name, const QStringList& skinList, const QStringList& skinRoots,
              bool layeredMode);

    // Paints the preview into a box of the given size: the box is filled with the button face,
    // the open tab stands at x = 6 with its bottom on the box's bottom edge, and right of it the
    // handle of the closed tab (its top TabHeight rows) stands on the bottom edge too. KeyColour
    // pixels of the tabs show the button face. A skin too large for the box is drawn scaled down
    // (PreviewScale) so that both tabs show whole.
    void paint(QPainter& painter, QSize box, QColor buttonFace) const;

    const TSkin& skin() const { return PreviewSkin; }
    const TTab& openTab() const { return PreviewTabOpen; }
    const TTab& closedTab() const { return PreviewTabClosed; }

private:
    const Settings PreviewSettings{};
    TSkin PreviewSkin;
    TTab PreviewTabOpen;
    TTab PreviewTabClosed;
};

// The factor the preview is drawn at in a box of that size: 1, or less for a skin whose open tab
// (head and items) is taller than the box, or whose tabs side by side leave less than three
// quarters of the closed tab's head inside it.
qreal PreviewScale(const TSkin& skin, const TTab& openTab, QSize box);
