#include "app/resources/NoteCounters.h"

namespace NSQuillet {

namespace {

CNoteCounters* gCounters = nullptr;
thread_local CNoteCounters* tCounters = nullptr;

}  // namespace

bool CNoteCounters::MayShow(ENote note) {
    int32_t& counter = fCounters[std::size_t(note)];
    if (counter < 1) return false;
    --counter;
    return true;
}

void SetNoteCounters(CNoteCounters* counters) { gCounters = counters; }

void SetThreadNoteCounters(CNoteCounters* counters) { tCounters = counters; }

CNoteCounters& GetNoteCounters() {
    if (tCounters) return *tCounters;
    static CNoteCounters builtIn;
    return gCounters ? *gCounters : builtIn;
}

}  // namespace NSQuillet
