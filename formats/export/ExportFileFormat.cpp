#include "formats/export/ExportFileFormat.h"

#include <algorithm>

#include "engine/Exporter.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

CReplaceConsent& RequireReplaceConsent(const SExportOptions& options) {
    if (!options.fReplaceConsent) throw NSMishap::XStdInvalidArgument("export without a replace consent");
    return *options.fReplaceConsent;
}

int32_t ExportedSliceCount(const CExporter& exporter, const SExportOptions& options) {
    const int32_t planned = exporter.GetSliceCount();
    return options.fSliceCount < 0 ? planned : std::min(options.fSliceCount, planned);
}

bool CABCExportFileFormat::OffersSampleRate(uint32_t rate) const {
    return std::find(fSampleRates.begin(), fSampleRates.end(), rate) != fSampleRates.end();
}

bool CABCExportFileFormat::OffersBitDepth(int32_t depth) const {
    return std::find(fBitDepths.begin(), fBitDepths.end(), depth) != fBitDepths.end();
}

}  // namespace NSQuillet
