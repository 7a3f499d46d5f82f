#pragma once

#include <cstdint>

#include "formats/nupa/NUPAChannelState.h"

namespace NSQuillet {

namespace NSNUPA {

// One channel's predictor values and energies, held in locals for the length of a block call
// by the portable coders, which add their own per-sample step.
struct SLocalPredictor {
    explicit SLocalPredictor(const SNUPAChannelState& state)
        : fV0(state.fValue[0]), fV1(state.fValue[1]), fV2(state.fValue[2]), fV3(state.fValue[3]),
          fV4(state.fValue[4]), fE0(state.fEnergy[0]), fE1(state.fEnergy[1]), fE2(state.fEnergy[2]),
          fE3(state.fEnergy[3]), fE4(state.fEnergy[4]) {}
    void Store(SNUPAChannelState& state) const {
        state.fValue[0] = fV0;
        state.fValue[1] = fV1;
        state.fValue[2] = fV2;
        state.fValue[3] = fV3;
        state.fValue[4] = fV4;
        state.fEnergy[0] = fE0;
        state.fEnergy[1] = fE1;
        state.fEnergy[2] = fE2;
        state.fEnergy[3] = fE3;
        state.fEnergy[4] = fE4;
    }

    uint32_t fV0, fV1, fV2, fV3, fV4;
    uint32_t fE0, fE1, fE2, fE3, fE4;
};

}  // namespace NSNUPA

}  // namespace NSQuillet
