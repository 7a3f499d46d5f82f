#pragma once

#include <cstdint>
#include <optional>

namespace NSQuillet {

class CQuilletDocument;

// The request for a loop length, made by the commands that need one when bars and beats are
// both 0: the length dialog in the editor, a declined question in quillet-cli (it has no
// dialog), a script in tests. User-interface thread; blocks until answered.
class ILoopLengthRequest {
public:
    virtual ~ILoopLengthRequest() = default;
    // The bars entered (more than 0), none when cancelled.
    virtual std::optional<int32_t> AskLoopLengthBars() = 0;
};

// Asks `request` for the length of a loop that has none and commits the bars entered, then the
// loop's own tempo (clamped to 20000..450000) as the preview tempo, both as "Change Loop Length"
// so that they are one step, which is then closed. False, with nothing changed, when the
// request is declined; true at once when the loop has a length.
bool GiveLoopLength(CQuilletDocument& document, ILoopLengthRequest& request);

}  // namespace NSQuillet
