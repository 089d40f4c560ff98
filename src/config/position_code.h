#pragma once

#include <array>

#include <QRect>
#include <QtGlobal>

#include "common/settings.h"

// A place of the tab row on the screen: edge + 256 * alignment.
using PositionCode = quint16;

constexpr PositionCode MakePositionCode(TabEdge edge, TabAlignment align) {
    return PositionCode(quint16(edge) + 256 * quint16(align));
}
constexpr TabEdge PositionEdge(PositionCode code) {
    return TabEdge(code & 0xFF);
}
constexpr TabAlignment PositionAlign(PositionCode code) {
    return TabAlignment(code >> 8);
}

// The size of the position diagram's drawing area.
inline constexpr int DiagramWidth = 155;
inline constexpr int DiagramHeight = 115;

// The three small rectangles that stand for three tabs at that place in a width x height diagram,
// each 15 pixels along the edge and 5 across it.
std::array<QRect, 3> MarkerRects(PositionCode code, int width, int height);

// The place a pointer at (x, y) points to: the direction from the centre of the area, in twelve
// sectors of 30 degrees. The exact centre gives Right/Center.
PositionCode HitTestPosition(int x, int y, int width, int height);

// An arrow key pressed on the diagram.
enum class DiagramArrow { Left, Right, Up, Down };

// The place an arrow key moves the row to. An arrow along the edge moves the row one step that
// way, and from the end of the edge round the corner onto the next edge; an arrow towards the
// opposite edge moves the row there with the same alignment; an arrow off the screen keeps it.
PositionCode StepPosition(PositionCode code, DiagramArrow arrow);
