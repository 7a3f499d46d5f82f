#pragma once

namespace NSQuillet {

namespace NSNUPA {

// Whether the codec's vector block coders run here: an x86-64 processor with AVX2, BMI1, BMI2
// and LZCNT, and not turned off. They code exactly as the portable ones.
bool UseVectors();
// For tests of the portable coders on processors that have the vector ones. Not thread-safe
// against coding at the same time.
void AllowVectors(bool allowed);

}  // namespace NSNUPA

}  // namespace NSQuillet
