#include "app/export/AlertReplaceQuestion.h"

#include "app/resources/Alert.h"
#include "app/resources/AlertIds.h"
#include "app/resources/ResourceReference.h"

namespace NSQuillet {

namespace {

// "[Replace][Replace All][Cancel]".
constexpr int32_t kAnswer_Replace = AlertAnswerOfButton(0, 3);
constexpr int32_t kAnswer_ReplaceAll = AlertAnswerOfButton(1, 3);

}  // namespace

EReplaceAnswer CAlertReplaceQuestion::AskReplace(const std::string& fileName) {
    const int32_t answer = ShowAlert(AlertReference(NSAlertIds::kSliceFileExists).With(fileName));
    if (answer == kAnswer_Replace) return EReplaceAnswer::kReplace;
    if (answer == kAnswer_ReplaceAll) return EReplaceAnswer::kReplaceAll;
    return EReplaceAnswer::kCancel;
}

}  // namespace NSQuillet
