#pragma once

#include <string>

namespace NSQuillet {

// Who made a loop file: five texts.
struct SLoopFileCreatorInfo {
    std::string fName;
    std::string fLegalNotice;
    std::string fWebAddress;
    std::string fEmailAddress;
    std::string fFifth;
};

}  // namespace NSQuillet
