#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace NSMishap {

// The failure code and named properties of one thrown failure, shared by all its copies.
// Touched only by the thread that threw it.
class CExceptionBody {
public:
    explicit CExceptionBody(uint32_t code) : fFailureCode(code) {}

    uint32_t GetFailureCode() const { return fFailureCode; }
    // A second value under the same name replaces the first.
    void AddProperty(const std::string& name, const std::string& value);
    std::optional<std::string> GetProperty(const std::string& name) const;

private:
    uint32_t fFailureCode;
    std::vector<std::pair<std::string, std::string>> fProperties;
};

class IExceptionBodyStorage {
public:
    virtual ~IExceptionBodyStorage() = default;
    virtual std::shared_ptr<CExceptionBody> CreateBody(uint32_t code) = 0;
    // Raise and lower the calling thread's handler nesting counter.
    virtual void EnterNesting() = 0;
    virtual void LeaveNesting() = 0;
    virtual int GetNestingLevel() const = 0;
    // Bodies created on the calling thread and still referred to by a failure.
    virtual int GetLiveBodyCount() const = 0;
};

// Per-thread storage: its state sits behind one thread-local slot, so no lock is taken.
// A body is freed when the last failure object that refers to it is destroyed.
class CThreadSafeExceptionBodyStorage final : public IExceptionBodyStorage {
public:
    std::shared_ptr<CExceptionBody> CreateBody(uint32_t code) override;
    void EnterNesting() override;
    void LeaveNesting() override;
    int GetNestingLevel() const override;
    int GetLiveBodyCount() const override;
};

// The process-wide storage.
IExceptionBodyStorage& GetExceptionBodyStorage();

}  // namespace NSMishap
