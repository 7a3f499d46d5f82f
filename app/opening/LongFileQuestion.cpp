#include "app/opening/LongFileQuestion.h"

#include "app/resources/Alert.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

// "[Cancel][Open Anyway]": Open Anyway is the rightmost button.
constexpr int32_t kAnswer_OpenAnyway = kAlertAnswerOfRightmostButton;

}  // namespace

int64_t WholeMinutesOf(int64_t frames, int64_t sampleRate) {
    if (sampleRate <= 0) return 0;
    return frames / sampleRate / 60;
}

void ConfirmOpeningLongFile(int64_t frames, int64_t sampleRate) {
    if (WholeMinutesOf(frames, sampleRate) < kLongFileMinutes) return;
    if (ShowAlert(kAlert_LongFile) != kAnswer_OpenAnyway) throw NSMishap::XSilentAbort("long file not opened");
}

}  // namespace NSQuillet
