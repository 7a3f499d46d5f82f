#pragma once

#include <QPixmap>

#include <cstdint>
#include <map>

namespace NSQuilletSkin {

// Serves the skin's pictures by id. User-interface thread.
class IBitmapFetcher {
public:
    virtual ~IBitmapFetcher() = default;
    // The picture `id`, kept by the fetcher for its lifetime. An id that is not a skin picture
    // raises XNotFound "Unknown bitmap ID type".
    virtual const QPixmap& FetchBitmap(int32_t id) = 0;
};

// Loads each picture from the editor's resources on first use and keeps it; the 2x form when
// the device pixel ratio is above 1, so it is sharp on HiDPI screens.
class CSkinBitmapFetcher final : public IBitmapFetcher {
public:
    // The ratio of the application's screens.
    CSkinBitmapFetcher();
    explicit CSkinBitmapFetcher(qreal devicePixelRatio);

    const QPixmap& FetchBitmap(int32_t id) override;

private:
    qreal fDevicePixelRatio;
    std::map<int32_t, QPixmap> fPictures;
};

}  // namespace NSQuilletSkin
