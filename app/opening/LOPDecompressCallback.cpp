#include "app/opening/LOPDecompressCallback.h"

#include "foundation/MulDiv.h"

namespace NSQuillet {

int32_t CLOPDecompressCallback::Permille(int64_t framesDone, int64_t totalFrames) {
    if (totalFrames <= 0 || framesDone >= totalFrames) return 1000;
    if (framesDone <= 0) return 0;
    return int32_t(MulDivTruncate(framesDone, 1000, totalFrames));
}

bool CLOPDecompressCallback::Progress(int64_t framesDone) {
    fOperation.Progress(Permille(framesDone, fTotalFrames));
    return fOperation.IsStopRequested();
}

}  // namespace NSQuillet
