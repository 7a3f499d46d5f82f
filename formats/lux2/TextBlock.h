#pragma once

#include <string>

#include "formats/media/Media.h"

namespace NSQuillet {

// The text block of the loop files. A text that Windows-1252 holds is stored as a u32 length
// and that many 8-bit bytes (an empty text as the length 0); any other as the marker
// 0xFFFFFFFF, a version 1.0 block, a u32 byte count and the UTF-8 bytes. Texts in memory are
// UTF-8.

// Reads the block at the media's position; the media's end bounds it (a chunk body). A block
// cut short, a version after the marker of another family than 1, or a byte count beyond the
// bytes left is an XFormatViolation "". Stored UTF-8 that is not valid is repaired with U+FFFD.
std::string ReadTextBlock(CMedia& media);
// Text that is not valid UTF-8 is an XStdInvalidArgument before anything is written: it could
// not be read back as given.
void WriteTextBlock(CMedia& media, const std::string& utf8);

}  // namespace NSQuillet
