#include "ui/logic/OpenDialogFilter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace NSQuillet {
namespace {

TEST(OpenDialogFilters, OffersAllTypesTogetherThenEachType) {
    EXPECT_EQ(OpenDialogFilters(), (std::vector<std::string>{
                                       "Sound and loop files (*.lx2 *.lux *.qlt *.wav *.wave *.aif *.aiff)",
                                       "LUX2 File (*.lx2)",
                                       "LUX1 File (*.lux)",
                                       "Quillet 1.6/1.7 File (*.qlt)",
                                       "Wave File (*.wav *.wave)",
                                       "Audio IFF (*.aif *.aiff)",
                                   }));
}

}  // namespace
}  // namespace NSQuillet
