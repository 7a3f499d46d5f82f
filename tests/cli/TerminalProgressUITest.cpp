#include <gtest/gtest.h>

#include <csignal>
#include <sstream>

#include "app/operations/QuilletLengthyOperation.h"
#include "cli/TerminalProgressUI.h"

using namespace NSQuillet;
using namespace NSQuillet::NSCli;

namespace {

class CFakeClock final : public NSCourier::IMillisecondClock {
public:
    uint64_t NowMilliseconds() const override { return fNow; }
    uint64_t fNow = 0;
};

}  // namespace

TEST(TerminalProgressUI, DrawsABarAfterOneSecondAndClearsItAtTheEnd) {
    std::ostringstream err;
    CFakeClock clock;
    CTerminalProgressUI ui(err, true);
    {
        CQuilletLengthyOperation operation("Analyze", true, &ui, clock);
        operation.SetText("Finding slices…");
        clock.fNow = 900;
        operation.Progress(100);
        EXPECT_EQ(err.str(), "");
        clock.fNow = 1100;
        operation.Progress(500);
        // 500 of 1000 fills 15 of the 30 cells.
        const std::string last = "\r\033[KAnalyze: Finding slices… [###############               ] 50%";
        ASSERT_GE(err.str().size(), last.size());
        EXPECT_EQ(err.str().substr(err.str().size() - last.size()), last);
    }
    EXPECT_EQ(err.str().substr(err.str().size() - 4), "\r\033[K");
}

TEST(TerminalProgressUI, QuietRunsWindowlessAndCtrlCStopsTheOperation) {
    std::ostringstream err;
    CFakeClock clock;
    CTerminalProgressUI ui(err, false);
    CQuilletLengthyOperation operation("Analyze", true, &ui, clock);
    clock.fNow = 5000;
    operation.Progress(800);
    EXPECT_FALSE(operation.HasWindow());
    EXPECT_EQ(err.str(), "");
    EXPECT_FALSE(operation.IsStopRequested());
    std::raise(SIGINT);
    EXPECT_TRUE(operation.IsStopRequested());
}
