#include "foundation/ExceptionBodyStorage.h"

#include <algorithm>

namespace NSMishap {

void CExceptionBody::AddProperty(const std::string& name, const std::string& value) {
    auto found = std::find_if(fProperties.begin(), fProperties.end(),
                              [&](const auto& property) { return property.first == name; });
    if (found != fProperties.end()) {
        found->second = value;
    } else {
        fProperties.emplace_back(name, value);
    }
}

std::optional<std::string> CExceptionBody::GetProperty(const std::string& name) const {
    for (const auto& property : fProperties) {
        if (property.first == name) return property.second;
    }
    return std::nullopt;
}

namespace {

struct SThreadSlot {
    int fNestingLevel = 0;
    int fLiveBodies = 0;
};

thread_local SThreadSlot tSlot;

}  // namespace

std::shared_ptr<CExceptionBody> CThreadSafeExceptionBodyStorage::CreateBody(uint32_t code) {
    // The counting deleter runs on whichever thread drops the last copy; a failure is handled
    // on the thread that threw it, so that is the creating thread's slot.
    auto body = std::shared_ptr<CExceptionBody>(new CExceptionBody(code), [](CExceptionBody* dead) {
        --tSlot.fLiveBodies;
        delete dead;
    });
    ++tSlot.fLiveBodies;
    return body;
}

void CThreadSafeExceptionBodyStorage::EnterNesting() { ++tSlot.fNestingLevel; }

void CThreadSafeExceptionBodyStorage::LeaveNesting() {
    if (tSlot.fNestingLevel > 0) --tSlot.fNestingLevel;
}

int CThreadSafeExceptionBodyStorage::GetNestingLevel() const { return tSlot.fNestingLevel; }

int CThreadSafeExceptionBodyStorage::GetLiveBodyCount() const { return tSlot.fLiveBodies; }

IExceptionBodyStorage& GetExceptionBodyStorage() {
    static CThreadSafeExceptionBodyStorage storage;
    return storage;
}

}  // namespace NSMishap
