#pragma once

#include <cstdint>

namespace NSDiskKit::NSDiskKitDetails {

enum class EOperation { kOpen, kCreate, kRead, kWrite, kClose };

// The status of `error` (an errno value) met during `operation`.
uint32_t StatusForErrno(int error, EOperation operation);

// Records "<call>: <strerror(error)>" as the thread's last failure text and answers the
// status of `error` during `operation`.
uint32_t FailWithErrno(const char* call, int error, EOperation operation);

// Records `text` as the thread's last failure text and answers `status`.
uint32_t FailWithText(uint32_t status, const char* text);

const char* GetThreadLastErrorText();

}  // namespace NSDiskKit::NSDiskKitDetails
