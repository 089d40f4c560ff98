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
    // the open tab stands at x = 6 with its bottom on the box's bottom edge (or, when it is taller
    // than the box, with its head at the top), and right of it the
    // handle of the closed tab (its top TabHeight rows) stands on the bottom edge too. KeyColour
    // pixels of the tabs show the button face.
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
