#include "ui/logic/toolbars/ToolbarRows.h"

namespace NSQuillet {

std::vector<int32_t> ArrangeToolbarRows(const std::vector<int32_t>& widths, int32_t available, int32_t spacing) {
    std::vector<int32_t> rows;
    rows.reserve(widths.size());
    int32_t row = 0;
    int64_t used = 0;
    for (const int32_t width : widths) {
        if (used > 0 && used + spacing + width > available) {
            ++row;
            used = 0;
        }
        used += (used > 0 ? spacing : 0) + width;
        rows.push_back(row);
    }
    return rows;
}

}  // namespace NSQuillet
