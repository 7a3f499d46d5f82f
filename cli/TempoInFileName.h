#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace NSQuillet::NSCli {

// The tempo a file's name gives, in thousandths of BPM: a number (digits, optionally a point and
// more digits) followed by "bpm" in any case, directly or after one space, '_', '-' or '.'
// ("funk_120bpm.wav", "Break 92 BPM.aif", "loop-174.5bpm.wav"). The number must not follow
// another number ("v2.120bpm"), "bpm" no letter; the first such tempo from 20 to 450 BPM counts.
// Only the name counts, not the folders of `path`.
std::optional<int32_t> FindTempoInFileName(const std::string& path);

}  // namespace NSQuillet::NSCli
