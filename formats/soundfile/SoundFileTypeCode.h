#pragma once

#include <cstdint>

#include "formats/soundfile/SoundFileInfo.h"
#include "platform/diskkit/FourCharCode.h"

namespace NSQuillet {

// The file type code a sound file is created with: 'WAVE' or 'AIFF'.
constexpr uint32_t SoundFileTypeCode(ESoundFileType type) {
    return type == ESoundFileType::kAiff ? NSDiskKit::MakeFourCharCode('A', 'I', 'F', 'F')
                                         : NSDiskKit::MakeFourCharCode('W', 'A', 'V', 'E');
}

}  // namespace NSQuillet
