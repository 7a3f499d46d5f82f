#include "app/resources/NoteCounters.h"

namespace NSQuillet {

namespace {

CNoteCounters* gCounters = nullptr;

}  // namespace

bool CNoteCounters::MayShow(ENote note) {
    int32_t& counter = fCounters[std::size_t(note)];
    if (counter < 1) return false;
    --counter;
    return true;
}

void SetNoteCounters(CNoteCounters* counters) { gCounters = counters; }

CNoteCounters& GetNoteCounters() {
    static CNoteCounters builtIn;
    return gCounters ? *gCounters : builtIn;
}

}  // namespace NSQuillet
