#include "formats/ExportFileFormat.h"

#include <algorithm>

namespace NSQuillet {

bool CABCExportFileFormat::OffersSampleRate(uint32_t rate) const {
    return std::find(fSampleRates.begin(), fSampleRates.end(), rate) != fSampleRates.end();
}

bool CABCExportFileFormat::OffersBitDepth(int32_t depth) const {
    return std::find(fBitDepths.begin(), fBitDepths.end(), depth) != fBitDepths.end();
}

}  // namespace NSQuillet
