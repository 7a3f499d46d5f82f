#pragma once

#include <string>

#include "platform/diskkit/FileSpec.h"

namespace NSQuillet {

enum class EReplaceAnswer { kReplace, kReplaceAll, kCancel };

// Whoever asks the user whether an existing file may be replaced: the alert "The file already
// exists!" in the program, --yes in quillet-cli, a script in tests. User-interface thread.
class IReplaceQuestion {
public:
    virtual ~IReplaceQuestion() = default;
    // `fileName` is the existing file's name without its folder.
    virtual EReplaceAnswer AskReplace(const std::string& fileName) = 0;
};

// The replace agreement of one export: every file the export writes asks here first.
// User-interface thread.
class CReplaceConsent {
public:
    explicit CReplaceConsent(IReplaceQuestion& question) : fQuestion(question) {}

    // Returns when `file` does not exist or may be replaced: asks unless Replace All was
    // answered before. Cancel is the abort "user aborted in replace dialog".
    void CheckMayWrite(const NSDiskKit::CFileSpec& file);
    bool IsReplaceAllAgreed() const { return fReplaceAll; }

private:
    IReplaceQuestion& fQuestion;
    bool fReplaceAll = false;
};

}  // namespace NSQuillet
