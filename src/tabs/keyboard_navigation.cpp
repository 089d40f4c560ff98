#include "tabs/keyboard_navigation.h"

#include <algorithm>

namespace {

bool Horizontal(TabEdge edge) {
    return edge == TabEdge::Bottom || edge == TabEdge::Top;
}

// The item (from start on, going round) whose caption starts with prefix; -1 when none does.
int FindFrom(const QStringList& captions, int start, const QString& prefix) {
    const int count = int(captions.size());
    for (int i = 0; i < count; ++i) {
        const int index = (start + i) % count;
        if (captions.at(index).startsWith(prefix, Qt::CaseInsensitive))
            return index;
    }
    return -1;
}

} // namespace

int ItemStep(TabEdge edge, Qt::Key key) {
    // The key that points from the head toward the screen edge.
    Qt::Key outward = Qt::Key_Down;
    switch (edge) {
    case TabEdge::Bottom:
        outward = Qt::Key_Down;
        break;
    case TabEdge::Top:
        outward = Qt::Key_Up;
        break;
    case TabEdge::Right:
        outward = Qt::Key_Right;
        break;
    case TabEdge::Left:
        outward = Qt::Key_Left;
        break;
    }
    const bool along = Horizontal(edge) ? (key == Qt::Key_Up || key == Qt::Key_Down)
                                        : (key == Qt::Key_Left || key == Qt::Key_Right);
    if (!along)
        return 0;
    return key == outward ? 1 : -1;
}

int TabStep(TabEdge edge, Qt::Key key) {
    if (Horizontal(edge)) {
        if (key == Qt::Key_Left)
            return -1;
        if (key == Qt::Key_Right)
            return 1;
        return 0;
    }
    if (key == Qt::Key_Up)
        return -1;
    if (key == Qt::Key_Down)
        return 1;
    return 0;
}

int SteppedHighlight(int current, int count, int step) {
    if (count <= 0)
        return -1;
    if (current < 0 || current >= count)
        return step > 0 ? 0 : count - 1;
    return std::clamp(current + step, 0, count - 1);
}

int SteppedTab(int current, int count, int step, bool wrap) {
    if (count <= 0)
        return -1;
    const int next = current + step;
    if (wrap)
        return ((next % count) + count) % count;
    return std::clamp(next, 0, count - 1);
}

int TypeAheadMatch(const QStringList& captions, int current, const QString& typed) {
    if (typed.isEmpty() || captions.isEmpty())
        return -1;
    const int count = int(captions.size());
    const bool onItem = current >= 0 && current < count;
    const int next = onItem ? (current + 1) % count : 0;
    if (typed.size() > 1 && onItem && captions.at(current).startsWith(typed, Qt::CaseInsensitive))
        return current;
    if (const int found = FindFrom(captions, next, typed); found >= 0)
        return found;
    // "sss" with no caption starting so: each "s" steps to the next item starting with "s".
    const QChar first = typed.front().toCaseFolded();
    if (std::all_of(typed.begin(), typed.end(), [&](QChar c) { return c.toCaseFolded() == first; }))
        return FindFrom(captions, next, QString(typed.front()));
    return -1;
}
