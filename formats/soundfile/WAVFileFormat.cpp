#include "formats/soundfile/WAVFileFormat.h"

namespace NSQuillet {

CWAVFileFormat::CWAVFileFormat() : CABCPureSoundFileFormat(ESoundFileType::kWave) {}

}  // namespace NSQuillet
