#pragma once

#include <cstddef>
#include <cstdint>

#include "app/resources/ResourceKind.h"

namespace NSQuillet {

// One resource table as compiled into the program from resources/.
struct SEmbeddedResource {
    EResourceKind fKind;
    int32_t fTableId;
    const char* fFileName;  // for messages: "alerts-129.txt"
    const char* fText;
};

// Generated at configure time; at least one table per kind the program uses.
extern const SEmbeddedResource kEmbeddedResources[];
extern const size_t kEmbeddedResourceCount;

}  // namespace NSQuillet
