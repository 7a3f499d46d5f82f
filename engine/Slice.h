#pragma once

#include <cstdint>

#include "engine/SliceKind.h"

namespace NSQuillet {

// One slice point. A value class: the sequence stores slices by value.
class CSlice {
public:
    // Level of slices the user inserts and of the placeholder at frame 0.
    static constexpr int16_t kInsertedLevel = 16384;

    CSlice() = default;
    CSlice(int32_t position, int16_t level, ESliceKind kind, bool selected = false);
    virtual ~CSlice();
    CSlice(const CSlice&) = default;
    CSlice& operator=(const CSlice&) = default;

    // First frame of the slice in the wave sample.
    int32_t GetPosition() const { return fPosition; }
    void SetPosition(int32_t position) { fPosition = position; }
    // Frames that sound from this point; stale until the sequence updates its lengths.
    int32_t GetLength() const { return fLength; }
    void SetLength(int32_t length) { fLength = length; }
    // Strength, 1..32767, compared with the sequence's threshold.
    int16_t GetLevel() const { return fLevel; }
    void SetLevel(int16_t level) { fLevel = level; }
    bool IsSelected() const { return fSelected; }
    void SetSelected(bool selected) { fSelected = selected; }
    ESliceKind GetKind() const { return fKind; }
    void SetKind(ESliceKind kind) { fKind = kind; }

private:
    int32_t fPosition = 0;
    int32_t fLength = 1;
    int16_t fLevel = 0;
    bool fSelected = false;
    ESliceKind fKind = ESliceKind::kNormal;
};

}  // namespace NSQuillet
