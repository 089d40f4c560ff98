#pragma once

#include <QtGlobal>

#include "common/settings.h"

// The opening and closing of one tab as a state machine over its extent. The tab window owns
// one, runs its timers as the results say and sizes itself after every tick.
class TabAnimation {
public:
    enum class Change { None, StartOpening, StartClosing };
    enum class TickResult { Moved, Ended };

    // Writing the tab's open state. Opening is only possible from closed, closing from opening or
    // open (and again while closing, which restarts the closing from the current extent).
    Change SetOpen(bool value, qint32 fullExtent, qint32 closedExtent, AnimMode openMode, AnimMode closeMode);

    // Turns a closing back into an opening toward the full extent (a key asked for the tab while
    // it slid back); nothing happens otherwise.
    Change Reopen(qint32 fullExtent, AnimMode openMode);

    // Step and acceleration of a mode; the off mode moves by the full extent at once.
    void SetAnimParams(AnimMode mode, qint32 fullExtent);

    // Moves toward a new target without touching the open state (a tab growing after a drop).
    void SetTarget(qint32 target) { m_targetExtent = target; }

    // One tick: moves `extent` toward the target, or reports the end once it is there. A closing
    // that ends clears the open state.
    TickResult Tick(qint32& extent);

    bool Open() const { return m_open; }
    bool Closing() const { return m_closing; }
    qint32 TargetExtent() const { return m_targetExtent; }
    qint32 AnimStep() const { return m_animStep; }
    qint32 AnimAccel() const { return m_animAccel; }

private:
    qint32 m_targetExtent = 0;
    qint32 m_animStep = 0;
    qint32 m_animAccel = 0;
    bool m_open = false;
    bool m_closing = false;
};
