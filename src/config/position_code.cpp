#include "config/position_code.h"

#include <cmath>
#include <numbers>

namespace {

constexpr int MarkerLength = 15;
constexpr int MarkerThickness = 5;
constexpr int MarkerStep = 17;

} // namespace

std::array<QRect, 3> MarkerRects(PositionCode code, int width, int height) {
    const TabEdge edge = PositionEdge(code);
    const bool vertical = edge == TabEdge::Left || edge == TabEdge::Right;
    const int length = vertical ? height : width;
    int start = 2;
    switch (PositionAlign(code)) {
    case TabAlignment::TopLeft:
        start = 2;
        break;
    case TabAlignment::Center:
        start = length / 2 - 25;
        break;
    case TabAlignment::BottomRight:
        start = length - 50;
        break;
    }
    int across = 0;
    switch (edge) {
    case TabEdge::Bottom:
        across = height - 6;
        break;
    case TabEdge::Right:
        across = width - 6;
        break;
    case TabEdge::Top:
    case TabEdge::Left:
        across = 0;
        break;
    }
    std::array<QRect, 3> rects;
    for (int i = 0; i < 3; ++i) {
        const int along = start + MarkerStep * i;
        rects[i] = vertical ? QRect(across, along, MarkerThickness, MarkerLength)
                            : QRect(along, across, MarkerLength, MarkerThickness);
    }
    return rects;
}

PositionCode HitTestPosition(int x, int y, int width, int height) {
    const int dx = x - width / 2;
    const int dy = y - height / 2;
    // One unit is 15 degrees; s lies in (-12, 12], positive below the rightward direction.
    const double s = std::atan2(double(dy), double(dx)) / std::numbers::pi * 12.0;
    using E = TabEdge;
    using A = TabAlignment;
    auto code = [](E e, A a) { return MakePositionCode(e, a); };
    if (s >= -1 && s <= 1)
        return code(E::Right, A::Center);
    if (s > 1 && s <= 3)
        return code(E::Right, A::BottomRight);
    if (s > 3 && s <= 5)
        return code(E::Bottom, A::BottomRight);
    if (s > 5 && s <= 7)
        return code(E::Bottom, A::Center);
    if (s > 7 && s <= 9)
        return code(E::Bottom, A::TopLeft);
    if (s > 9 && s <= 11)
        return code(E::Left, A::BottomRight);
    if (s > 11 || s < -11)
        return code(E::Left, A::Center);
    if (s >= -11 && s <= -9)
        return code(E::Left, A::TopLeft);
    if (s > -9 && s < -7)
        return code(E::Top, A::TopLeft);
    if (s >= -7 && s < -5)
        return code(E::Top, A::Center);
    if (s >= -5 && s < -3)
        return code(E::Top, A::BottomRight);
    return code(E::Right, A::TopLeft); // -3 <= s < -1
}

PositionCode StepPosition(PositionCode code, DiagramArrow arrow) {
    using E = TabEdge;
    using A = TabAlignment;
    const E edge = PositionEdge(code);
    const int align = int(PositionAlign(code));
    const bool horizontal = edge == E::Top || edge == E::Bottom;
    // Along the edge: towards the top or left end (-1), or towards the bottom or right end (+1).
    const int along = horizontal ? (arrow == DiagramArrow::Left    ? -1
                                    : arrow == DiagramArrow::Right ? 1
                                                                   : 0)
                                 : (arrow == DiagramArrow::Up     ? -1
                                    : arrow == DiagramArrow::Down ? 1
                                                                  : 0);
    if (along != 0) {
        const int next = align + along;
        if (next >= int(A::TopLeft) && next <= int(A::BottomRight))
            return MakePositionCode(edge, A(next));
        // Round the corner: the end of the next edge that meets this one.
        const A corner = (edge == E::Top || edge == E::Left) ? A::TopLeft : A::BottomRight;
        if (horizontal)
            return MakePositionCode(along < 0 ? E::Left : E::Right, corner);
        return MakePositionCode(along < 0 ? E::Top : E::Bottom, corner);
    }
    const E across = horizontal ? (arrow == DiagramArrow::Up ? E::Top : E::Bottom)
                                : (arrow == DiagramArrow::Left ? E::Left : E::Right);
    return MakePositionCode(across, A(align));
}
