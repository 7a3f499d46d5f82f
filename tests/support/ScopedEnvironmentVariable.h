#pragma once

#include <stdlib.h>

#include <optional>
#include <string>

namespace NSQuilletTest {

// Sets (or, with no value, removes) one environment variable for its lifetime and restores the
// value before. Not for use while other threads read the environment.
class CScopedEnvironmentVariable {
public:
    CScopedEnvironmentVariable(std::string name, const std::optional<std::string>& value) : fName(std::move(name)) {
        if (const char* before = getenv(fName.c_str())) fBefore = before;
        Apply(value);
    }
    ~CScopedEnvironmentVariable() { Apply(fBefore); }
    CScopedEnvironmentVariable(const CScopedEnvironmentVariable&) = delete;
    CScopedEnvironmentVariable& operator=(const CScopedEnvironmentVariable&) = delete;

private:
    void Apply(const std::optional<std::string>& value) const {
        if (value) {
            setenv(fName.c_str(), value->c_str(), 1);
        } else {
            unsetenv(fName.c_str());
        }
    }

    std::string fName;
    std::optional<std::string> fBefore;
};

}  // namespace NSQuilletTest
