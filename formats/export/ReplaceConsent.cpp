#include "formats/export/ReplaceConsent.h"

#include <filesystem>
#include <system_error>

#include "foundation/Mishap.h"

namespace NSQuillet {

void CReplaceConsent::CheckMayWrite(const NSDiskKit::CFileSpec& file) {
    if (fReplaceAll) return;
    std::error_code error;
    // A dangling link is a name in use as well: writing would replace the link.
    const std::filesystem::file_status status = std::filesystem::symlink_status(file.GetPath(), error);
    if (error || !std::filesystem::exists(status)) return;
    switch (fQuestion.AskReplace(file.GetName())) {
        case EReplaceAnswer::kReplace: return;
        case EReplaceAnswer::kReplaceAll: fReplaceAll = true; return;
        case EReplaceAnswer::kCancel: break;
    }
    throw NSMishap::XAbort("user aborted in replace dialog");
}

}  // namespace NSQuillet
