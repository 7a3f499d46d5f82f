#include "engine/DSPTablesCache.h"

#include <map>
#include <memory>
#include <new>

#include "foundation/Mishap.h"
#include "foundation/Mutex.h"
#include "foundation/SampleRate.h"

namespace NSQuillet {

namespace {

struct SCache {
    CMutex fMutex;
    std::map<uint32_t, std::unique_ptr<const CDSPTables>> fTables;
};

SCache& GetCache() {
    // Never destroyed: an audio thread may still hold tables while the process exits.
    static SCache& cache = *new SCache;
    return cache;
}

}  // namespace

const CDSPTables* CDSPTablesCache::Get(uint32_t outputRate) {
    const uint32_t rate = ClampSampleRate(outputRate);
    SCache& cache = GetCache();
    CMutexLock lock(cache.fMutex);
    auto found = cache.fTables.find(rate);
    if (found != cache.fTables.end()) return found->second.get();
    try {
        auto tables = std::make_unique<const CDSPTables>(rate);
        const CDSPTables* result = tables.get();
        cache.fTables.emplace(rate, std::move(tables));
        return result;
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory for the DSP tables");
    }
}

}  // namespace NSQuillet
