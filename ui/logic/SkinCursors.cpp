#include "ui/logic/SkinCursors.h"

namespace NSQuilletSkin {

std::optional<SCursorShape> FindCursorShape(int32_t id) {
    switch (id) {
        case 870: return SCursorShape{870, 24, 12, 12};    // the dot between the arrows
        case 1401: return SCursorShape{1401, 24, 12, 12};  // the I-beam's centre
        case 1500: return SCursorShape{1500, 24, 9, 9};    // the glass's centre
        case 1700: return SCursorShape{1700, 24, 2, 22};   // the pencil's tip
        case 1701: return SCursorShape{1701, 24, 1, 1};    // the pointer's tip
        default: return std::nullopt;
    }
}

}  // namespace NSQuilletSkin
