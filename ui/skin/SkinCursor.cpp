#include "ui/skin/SkinCursor.h"

#include "foundation/FailureCode.h"
#include "foundation/Mishap.h"
#include "ui/logic/SkinCursors.h"
#include "ui/skin/SkinResources.h"

namespace NSQuilletSkin {

QCursor GetSkinCursor(int32_t id, qreal devicePixelRatio) {
    const std::optional<SCursorShape> shape = FindCursorShape(id);
    if (!shape) NSMishap::ThrowFailure(NSMishap::kFailureCode_RuntimeError_NotFound, "Unknown cursor ID");
    // Hot spots are in device-independent pixels; Qt scales them with the pixmap's ratio.
    return QCursor(LoadSkinPicture(id, devicePixelRatio > 1.0), shape->fHotX, shape->fHotY);
}

}  // namespace NSQuilletSkin
