#pragma once

#include "formats/soundfile/PureSoundFileFormat.h"

namespace NSQuillet {

// PCM AIFF files, one per slice (".aif").
class CAIFFFileFormat final : public CABCPureSoundFileFormat {
public:
    CAIFFFileFormat();
    const char* GetExtension() const override { return ".aif"; }
};

}  // namespace NSQuillet
