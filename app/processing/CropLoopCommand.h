#pragma once

namespace NSQuillet {

class CQuilletDocument;
class CQuilletLengthyOperation;

// There is something to crop when the locators enclose at least one frame but not the whole
// sample.
bool CanCropLoop(const CQuilletDocument& document);

// Keeps only the frames from the left locator up to the right locator: a new sample of that
// length whose loop is the whole sample, the slices inside moved back by the left locator and
// the others dropped (an emptied list gets a slice at frame 0), committed together as "Crop
// Loop", one undo step. Works in blocks of 2^20 frames; Stop raises the abort "user pressed
// stop" and, as any failure, leaves the document unchanged. Without something to crop it is
// an XStdLogicError.
void CropLoop(CQuilletDocument& document, CQuilletLengthyOperation& operation);

}  // namespace NSQuillet
