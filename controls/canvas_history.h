// CCanvasHistory: the canvas's undo and redo. Each step keeps only what
// changed, as runs of pixels along a row that went from one colour to
// another, so a fill of a large region costs a few bytes per row it touches
// rather than a copy of the picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <windows.h>

class CCanvasHistory {
public:
    // Steps kept; the oldest goes when a new one would exceed either bound.
    static constexpr size_t kMaxSteps = 100;
    static constexpr size_t kMaxBytes = size_t(32) << 20;

    // Records the change from `before` to `after`, two pictures of
    // width x height 32-bit pixels, top row first. Nothing is recorded when
    // they are the same. A new step forgets the steps that were undone.
    void Record(const uint32_t* before, const uint32_t* after, int width, int height);

    BOOL CanUndo() const { return m_nDone > 0; }
    BOOL CanRedo() const { return m_nDone < m_steps.size(); }
    // Puts the last step's old pixels (undo) or the next undone step's new
    // pixels (redo) back into `pixels`, the picture the steps were recorded
    // on. FALSE, and nothing changed, when there is no such step or the
    // picture is not of the recorded size. `pChanged` gets the rectangle the
    // step touched.
    BOOL Undo(uint32_t* pixels, int width, int height, RECT* pChanged);
    BOOL Redo(uint32_t* pixels, int width, int height, RECT* pChanged);
    void Clear();

    size_t GetStepCount() const { return m_steps.size(); }
    // Bytes held by the steps.
    size_t GetMemoryUsed() const { return m_nBytes; }

private:
    // Pixels x .. x + length - 1 of row y went from crOld to crNew.
    struct Run {
        int32_t y;
        int32_t x;
        int32_t length;
        uint32_t crOld;
        uint32_t crNew;
    };
    struct Step {
        int width = 0;
        int height = 0;
        RECT changed{};
        std::vector<Run> runs;
        size_t Bytes() const { return sizeof(Step) + runs.capacity() * sizeof(Run); }
    };

    BOOL Apply(const Step& step, bool bForward, uint32_t* pixels, int width, int height,
               RECT* pChanged) const;

    std::vector<Step> m_steps;  // oldest first
    size_t m_nDone = 0;         // steps [0, m_nDone) are in the picture
    size_t m_nBytes = 0;
};
