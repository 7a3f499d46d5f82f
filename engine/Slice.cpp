#include "engine/Slice.h"

namespace NSQuillet {

CSlice::CSlice(int32_t position, int16_t level, ESliceKind kind, bool selected)
    : fPosition(position), fLevel(level), fSelected(selected), fKind(kind) {}

CSlice::~CSlice() = default;

}  // namespace NSQuillet
