#pragma once

#include <cstddef>

#include "formats/loopfile/LoopFileCreatorInfo.h"
#include "formats/lux2/ABCFormat.h"

namespace NSQuillet {

// CREI: who made the file, as five texts of at most 255 characters each.
class CLUX2CreatorInfoChunk final : public CABCFormat {
public:
    static constexpr size_t kMaximumCharacters = 255;

    // A longer text: XFormatViolation "invalid data in creator info chunk"; a damaged text
    // block: XFormatViolation "".
    explicit CLUX2CreatorInfoChunk(CMedia& body);
    // Longer texts are cut to their first 255 characters.
    explicit CLUX2CreatorInfoChunk(const SLoopFileCreatorInfo& info);

    const SLoopFileCreatorInfo& GetInfo() const { return fInfo; }
    void Write(CMedia& media) const override;

private:
    SLoopFileCreatorInfo fInfo;
};

}  // namespace NSQuillet
