#include <gtest/gtest.h>

#include <sstream>

#include "cli/BatchProgressBar.h"

using NSQuillet::NSCli::CBatchProgressBar;

TEST(BatchProgressBar, CountsFilesAndTheRateOfTheLastTenSeconds) {
    std::ostringstream err;
    CBatchProgressBar bar(err, "slice", 10);
    EXPECT_EQ(bar.Describe(0.5), "slice [                              ] 0/10 files");
    for (double at : {1.0, 2.0, 3.0, 4.0}) bar.FileFinished(at);
    // 4 files in the first 4 s: 1 file/s, 6 files left: 6 s.
    EXPECT_EQ(bar.Describe(4.0), "slice [############                  ] 4/10 files, 1.0 files/s, 0:06 left");
    // At 13 s only the finishes at 3 s and 4 s lie in the last ten seconds: 0.2 files/s, 30 s left.
    EXPECT_DOUBLE_EQ(bar.GetRate(13.0), 0.2);
    EXPECT_EQ(bar.Describe(13.0), "slice [############                  ] 4/10 files, 0.2 files/s, 0:30 left");

    bar.Draw(13.0);
    bar.Clear();
    EXPECT_EQ(err.str(), "\r\033[K" + bar.Describe(13.0) + "\r\033[K");
}
