#pragma once

#include <cstdint>
#include <string>

#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"

// The document's texts. Undo names come from the program's string table; merging compares them.
namespace NSQuillet {

inline constexpr const char* kDocumentText_LoopFileExtension = ".lx2";

inline std::string UndoText(int32_t entry) { return StringReference(entry).GetText(); }

}  // namespace NSQuillet
