#pragma once

#include <cstddef>

namespace NSQuillet::NSSampleBuffer {

// Memory for `bytes` of sample values (at least one byte is taken), zero-filled when `zero`. Buffers of
// several megabytes sit on 2 MiB boundaries and ask the kernel for huge pages, which cuts the
// page faults of the first touch by a factor of 512 where it grants them. Null when memory
// runs out.
void* Allocate(size_t bytes, bool zero);
void Free(void* buffer);

struct SFree {
    void operator()(void* buffer) const { Free(buffer); }
};

}  // namespace NSQuillet::NSSampleBuffer
