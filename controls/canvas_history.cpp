// The canvas's undo and redo steps.
#include "controls/canvas_history.h"

#include <algorithm>
#include <cstring>

void CCanvasHistory::Record(const uint32_t* before, const uint32_t* after, int width, int height) {
    if (!before || !after || width <= 0 || height <= 0) return;
    Step step;
    step.width = width;
    step.height = height;
    step.changed = {width, height, 0, 0};
    for (int y = 0; y < height; ++y) {
        const uint32_t* oldRow = before + size_t(y) * size_t(width);
        const uint32_t* newRow = after + size_t(y) * size_t(width);
        if (std::memcmp(oldRow, newRow, size_t(width) * sizeof(uint32_t)) == 0) continue;
        for (int x = 0; x < width;) {
            if (oldRow[x] == newRow[x]) {
                ++x;
                continue;
            }
            // One run: the same old colour turned into the same new colour.
            Run run{y, x, 0, oldRow[x], newRow[x]};
            while (x < width && oldRow[x] == run.crOld && newRow[x] == run.crNew &&
                   oldRow[x] != newRow[x]) {
                ++run.length;
                ++x;
            }
            step.runs.push_back(run);
            step.changed.left = std::min<LONG>(step.changed.left, run.x);
            step.changed.right = std::max<LONG>(step.changed.right, run.x + run.length);
            step.changed.top = std::min<LONG>(step.changed.top, y);
            step.changed.bottom = y + 1;
        }
    }
    if (step.runs.empty()) return;
    step.runs.shrink_to_fit();
    if (step.Bytes() > kMaxBytes) {
        // A change too large to keep (a picture of noise started again):
        // the history cannot lead back across it.
        Clear();
        return;
    }
    // What was undone is forgotten once the picture changes otherwise.
    for (size_t i = m_nDone; i < m_steps.size(); ++i) m_nBytes -= m_steps[i].Bytes();
    m_steps.resize(m_nDone);
    m_nBytes += step.Bytes();
    m_steps.push_back(std::move(step));
    size_t nDrop = 0;
    while (m_steps.size() - nDrop > kMaxSteps || m_nBytes > kMaxBytes) {
        m_nBytes -= m_steps[nDrop].Bytes();
        ++nDrop;
    }
    m_steps.erase(m_steps.begin(), m_steps.begin() + ptrdiff_t(nDrop));
    m_nDone = m_steps.size();
}

BOOL CCanvasHistory::Apply(const Step& step, bool bForward, uint32_t* pixels, int width, int height,
                           RECT* pChanged) const {
    if (!pixels || step.width != width || step.height != height) return FALSE;
    for (const Run& run : step.runs) {
        uint32_t* at = pixels + size_t(run.y) * size_t(width) + size_t(run.x);
        std::fill(at, at + run.length, bForward ? run.crNew : run.crOld);
    }
    if (pChanged) *pChanged = step.changed;
    return TRUE;
}

BOOL CCanvasHistory::Undo(uint32_t* pixels, int width, int height, RECT* pChanged) {
    if (!CanUndo() || !Apply(m_steps[m_nDone - 1], false, pixels, width, height, pChanged))
        return FALSE;
    --m_nDone;
    return TRUE;
}

BOOL CCanvasHistory::Redo(uint32_t* pixels, int width, int height, RECT* pChanged) {
    if (!CanRedo() || !Apply(m_steps[m_nDone], true, pixels, width, height, pChanged)) return FALSE;
    ++m_nDone;
    return TRUE;
}

void CCanvasHistory::Clear() {
    m_steps.clear();
    m_steps.shrink_to_fit();
    m_nDone = 0;
    m_nBytes = 0;
}
