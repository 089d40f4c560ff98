#pragma once

#include <QString>
#include <QStringList>
#include <Qt>

#include "common/settings.h"

// The decisions of the keys in an open tab that need no window: which item an arrow key moves
// the highlight to, which tab it goes to instead, and which item typed letters find. Items are
// numbered in the tab's order: item 0 lies next to the head, the last one nearest the screen edge.

// The step an arrow key takes along the items as they are drawn for the edge: +1 toward the screen
// edge, -1 toward the head, 0 for a key that does not point along the items. On the bottom edge
// Down goes toward the screen edge, on the top edge Up does; on the right edge Right, on the left
// edge Left.
int ItemStep(TabEdge edge, Qt::Key key);

// The step an arrow key takes along the row of tabs: -1 toward the previous tab (left, or up on a
// vertical edge), +1 toward the next, 0 for a key that points along the items.
int TabStep(TabEdge edge, Qt::Key key);

// The highlight after a step of +1 or -1 from current among count items. It stops at the first
// and the last item; with no highlight (-1) a step toward the screen edge gives the first item
// and one toward the head the last. No items give -1.
int SteppedHighlight(int current, int count, int step);

// The tab a step of +1 or -1 goes to from current among count tabs: it stops at either end of the
// row, or goes round to the other end when wrap is set.
int SteppedTab(int current, int count, int step, bool wrap);

// The item that typed letters find: the next one after current (going round to the first) whose
// caption starts with typed, letter case aside. While the letters typed so far still match the
// highlighted item, it stays: typing "ca" keeps "Calendar" highlighted after "c" found it. The
// same letter typed again and again steps through the items it starts. -1 when none matches.
int TypeAheadMatch(const QStringList& captions, int current, const QString& typed);
