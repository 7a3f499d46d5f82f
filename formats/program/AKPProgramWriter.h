#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/media/Media.h"

namespace NSQuillet {

// One slice of a program: the key it plays on and the name of its sample file without the
// extension.
struct SAKPKeygroup {
    int32_t fKey = 0;
    std::string fZoneName;
};

// A program file (RIFF 'APRG') with one keygroup per entry, in order: each on its single key
// (clamped to 0..127) with its first zone naming the sample and the other three empty. More
// than 65535 keygroups is an XStdLengthError. Writes at the media's position.
void WriteAKPProgram(CMedia& media, const std::vector<SAKPKeygroup>& keygroups);

}  // namespace NSQuillet
