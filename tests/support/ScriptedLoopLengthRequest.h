#pragma once

#include <cstdint>
#include <optional>

#include "app/document/LoopLengthRequest.h"

namespace NSQuilletTest {

// Answers the loop-length request with `fBars` and counts the requests.
class CScriptedLoopLengthRequest final : public NSQuillet::ILoopLengthRequest {
public:
    std::optional<int32_t> AskLoopLengthBars() override {
        ++fRequests;
        return fBars;
    }

    std::optional<int32_t> fBars;
    int fRequests = 0;
};

}  // namespace NSQuilletTest
