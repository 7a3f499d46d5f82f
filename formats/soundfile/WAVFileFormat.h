#pragma once

#include "formats/soundfile/PureSoundFileFormat.h"

namespace NSQuillet {

// PCM WAVE files, one per slice (".wav").
class CWAVFileFormat final : public CABCPureSoundFileFormat {
public:
    CWAVFileFormat();
    const char* GetExtension() const override { return ".wav"; }
};

}  // namespace NSQuillet
