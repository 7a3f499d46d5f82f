#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace NSQuillet {

// The one-time notes, in the order the preferences file stores their counters; the last is
// kept in the file but shows nothing.
enum class ENote { kLuxFile, kOldNormalizeOption, kEffectsNotAudible, kStoredOnly };

// How many more times each one-time note may be shown. The preferences keep one set for the
// process and store it; until then a built-in set serves. User-interface thread.
class CNoteCounters {
public:
    static constexpr int32_t kDefaultShowings = 5;

    int32_t Get(ENote note) const { return fCounters[std::size_t(note)]; }
    void Set(ENote note, int32_t showings) { fCounters[std::size_t(note)] = showings; }

    // True, counting the showing, while the counter is at least 1; false at 0 or below.
    bool MayShow(ENote note);

private:
    std::array<int32_t, 4> fCounters{kDefaultShowings, kDefaultShowings, kDefaultShowings, kDefaultShowings};
};

// The process-wide counters: those set by their owner, else a built-in set. Not owned; the
// owner keeps them alive while they are set and sets null before destroying them.
void SetNoteCounters(CNoteCounters* counters);
CNoteCounters& GetNoteCounters();

// Counters of the calling thread that GetNoteCounters answers in its place while set (a worker
// of quillet-cli's run over several files gives each file a fresh set, as its own process
// would have). Not owned; null ends the override.
void SetThreadNoteCounters(CNoteCounters* counters);

}  // namespace NSQuillet
