#pragma once

namespace NSQuillet {

class CQuilletDocument;
class CQuilletLengthyOperation;

// Runs the transient analysis again on a copy of the slice sequence, merging what it finds
// into the user's slices, and commits "Re-Analyze" as one undo step. When the slice count
// stays the same, says "Re-Analyze did not find any new slices!", changes nothing and answers
// false. Stop raises the abort "user pressed stop" and, as any failure, leaves the document
// unchanged.
bool ReAnalyze(CQuilletDocument& document, CQuilletLengthyOperation& operation);

}  // namespace NSQuillet
