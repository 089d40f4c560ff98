#include "tabs/tab_animation.h"

#include <algorithm>

TabAnimation::Change TabAnimation::SetOpen(bool value, qint32 fullExtent, qint32 closedExtent,
                                           AnimMode openMode, AnimMode closeMode) {
    if (value && !m_open) {
        m_targetExtent = fullExtent;
        m_open = true;
        m_closing = false;
        SetAnimParams(openMode, fullExtent);
        return Change::StartOpening;
    }
    if (!value && m_open) {
        m_targetExtent = closedExtent;
        m_closing = true;
        SetAnimParams(closeMode, fullExtent);
        return Change::StartClosing;
    }
    return Change::None;
}

TabAnimation::Change TabAnimation::Reopen(qint32 fullExtent, AnimMode openMode) {
    if (!m_closing)
        return Change::None;
    m_closing = false;
    m_targetExtent = fullExtent;
    SetAnimParams(openMode, fullExtent);
    return Change::StartOpening;
}

void TabAnimation::SetAnimParams(AnimMode mode, qint32 fullExtent) {
    switch (mode) {
    case AnimMode::Off:
        m_animStep = fullExtent;
        m_animAccel = 0;
        break;
    case AnimMode::Linear:
        m_animStep = 12;
        m_animAccel = 0;
        break;
    case AnimMode::Accelerated:
        m_animStep = 1;
        m_animAccel = 1;
        break;
    }
}

TabAnimation::TickResult TabAnimation::Tick(qint32& extent) {
    m_animStep += m_animAccel;
    // An empty tab without animation has a step of 0, which would never reach a target one pixel
    // away; every moving tick moves at least one pixel so that each animation ends.
    const qint32 step = std::max<qint32>(m_animStep, 1);
    if (extent < m_targetExtent) {
        extent = std::min(extent + step, m_targetExtent);
        return TickResult::Moved;
    }
    if (extent > m_targetExtent) {
        extent = std::max(extent - step, m_targetExtent);
        return TickResult::Moved;
    }
    if (m_closing) {
        m_open = false;
        m_closing = false;
    }
    return TickResult::Ended;
}
