#pragma once

#include "formats/export/ReplaceConsent.h"

namespace NSQuillet {

// The replace question as the alert "The file already exists!" with Replace, Replace All and
// Cancel; no one to ask (no presenter) counts as Cancel. User-interface thread.
class CAlertReplaceQuestion final : public IReplaceQuestion {
public:
    EReplaceAnswer AskReplace(const std::string& fileName) override;
};

}  // namespace NSQuillet
