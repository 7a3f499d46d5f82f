#include "ui/logic/NavigatorSkinMargins.h"

namespace NSQuilletSkin {

SSkinMargins GetNavigatorMargins(ENavigatorMargins which, int32_t part) {
    // Rows: the four operations; columns: parts 0, 1, 2.
    static constexpr SSkinMargins kTable[4][3] = {
        {{2, 2, 2, 2}, {2, 2, 2, 2}, {2, 2, 2, 2}},
        {{3, 3, 3, 6}, {4, 4, 6, 6}, {4, 4, 4, 4}},
        {{3, 6, 3, 3}, {6, 6, 4, 4}, {6, 6, 6, 6}},
        {{11, 0, 11, 0}, {0, 5, 0, 5}, {0, 0, 0, 0}},
    };
    const auto row = static_cast<int32_t>(which);
    if (row < 0 || row > 3 || part < 0 || part > 2) return {};
    return kTable[row][part];
}

}  // namespace NSQuilletSkin
