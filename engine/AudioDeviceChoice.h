#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace NSQuillet {

// A device the audio-card manager is asked to open.
struct SAudioDeviceChoice {
    enum class EKind {
        kDefault,  // the machine's default output, the Null Output when it has no card
        kNamed,    // fName: "null" for the Null Output, else a device's name (see ChooseDeviceByName)
        kDevice,   // fHostApi and fName exactly
        kBlock,    // fBlock, a stored device block
    };
    EKind fKind = EKind::kDefault;
    std::string fHostApi;
    std::string fName;
    std::vector<uint8_t> fBlock;
};

}  // namespace NSQuillet
