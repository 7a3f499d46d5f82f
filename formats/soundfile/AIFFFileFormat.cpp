#include "formats/soundfile/AIFFFileFormat.h"

#include "platform/diskkit/FourCharCode.h"

namespace NSQuillet {

CAIFFFileFormat::CAIFFFileFormat()
    : CABCPureSoundFileFormat(ESoundFileType::kAiff, NSDiskKit::MakeFourCharCode('A', 'I', 'F', 'F')) {}

}  // namespace NSQuillet
