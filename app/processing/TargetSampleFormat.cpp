#include "app/processing/TargetSampleFormat.h"

namespace NSQuillet {

std::string DescribeTargetSampleFormats() {
    return std::to_string(kMinimumSampleRate) + ".." + std::to_string(kMaximumSampleRate) + " Hz, " +
           std::to_string(kTargetBitDepths[0]) + " or " + std::to_string(kTargetBitDepths[1]) + " bits";
}

}  // namespace NSQuillet
