#include "formats/soundfile/WAVFileFormat.h"

#include "platform/diskkit/FourCharCode.h"

namespace NSQuillet {

CWAVFileFormat::CWAVFileFormat()
    : CABCPureSoundFileFormat(ESoundFileType::kWave, NSDiskKit::MakeFourCharCode('W', 'A', 'V', 'E')) {}

}  // namespace NSQuillet
