#include "formats/lux2/LUX2CreatorInfoChunk.h"

#include "formats/lux2/TextBlock.h"
#include "formats/text/UTF8Text.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

// In file order.
constexpr std::string SLoopFileCreatorInfo::*kTexts[] = {
    &SLoopFileCreatorInfo::fName,         &SLoopFileCreatorInfo::fLegalNotice, &SLoopFileCreatorInfo::fWebAddress,
    &SLoopFileCreatorInfo::fEmailAddress, &SLoopFileCreatorInfo::fFifth,
};

std::string CutToCharacters(const std::string& text, size_t characters) {
    size_t at = 0;
    char32_t character;
    for (size_t count = 0; count < characters && at < text.size(); ++count) DecodeUTF8Character(text, at, character);
    return text.substr(0, at);
}

}  // namespace

CLUX2CreatorInfoChunk::CLUX2CreatorInfoChunk(CMedia& body) {
    for (const auto text : kTexts) {
        fInfo.*text = ReadTextBlock(body);
        if (CountUTF8Characters(fInfo.*text) > kMaximumCharacters) {
            throw NSMishap::XFormatViolation("invalid data in creator info chunk");
        }
    }
}

CLUX2CreatorInfoChunk::CLUX2CreatorInfoChunk(const SLoopFileCreatorInfo& info) : fInfo(info) {
    for (const auto text : kTexts) fInfo.*text = CutToCharacters(fInfo.*text, kMaximumCharacters);
}

void CLUX2CreatorInfoChunk::Write(CMedia& media) const {
    for (const auto text : kTexts) WriteTextBlock(media, fInfo.*text);
}

}  // namespace NSQuillet
