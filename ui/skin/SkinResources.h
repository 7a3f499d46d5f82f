#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

#include <cstdint>

namespace NSQuilletSkin {

// The resource path of picture `id` (a skin picture or a cursor), its 1x or 2x form.
QString GetSkinPicturePath(int32_t id, bool twice);
// Picture `id` as rendered at build time; the 2x form has device pixel ratio 2. Null when the
// resources hold no such picture.
QPixmap LoadSkinPicture(int32_t id, bool twice);
// The application icon in all its rendered sizes.
QIcon GetApplicationIcon();

}  // namespace NSQuilletSkin
