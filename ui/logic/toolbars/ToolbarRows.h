#pragma once

#include <cstdint>
#include <vector>

namespace NSQuillet {

// The toolbar strip's arrangement: the toolbars keep their order and fill rows from the left,
// a toolbar starting a new row when it would not fit beside the ones before it. A toolbar
// wider than the strip stands alone in its row. Answers each toolbar's row, in order; widths
// and spacing in pixels.
std::vector<int32_t> ArrangeToolbarRows(const std::vector<int32_t>& widths, int32_t available, int32_t spacing);

}  // namespace NSQuillet
