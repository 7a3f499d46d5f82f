#include "formats/soundfile/AIFFFileFormat.h"

namespace NSQuillet {

CAIFFFileFormat::CAIFFFileFormat() : CABCPureSoundFileFormat(ESoundFileType::kAiff) {}

}  // namespace NSQuillet
