#include "app/clipboard/PastedLoop.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "app/opening/DocumentOpening.h"
#include "app/opening/OpeningAnalysis.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "foundation/FailureCode.h"
#include "foundation/Mishap.h"
#include "foundation/TargetObjectType.h"

namespace NSQuillet {

namespace {

// A folder of this process's own under the system's temporary folder (only the user may
// enter it), removed with its contents when the paste is done, whatever its outcome.
class CPrivateTemporaryFolder {
public:
    CPrivateTemporaryFolder() {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::temp_directory_path(error);
        std::string pattern = ((error ? std::filesystem::path("/tmp") : base) / "quillet-paste-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            NSMishap::ThrowFailure(NSMishap::kFailureCode_RuntimeError_Create, "couldn't make the paste's folder",
                                   NSMishap::kTargetObjectType_Directory);
        }
        fPath = pattern;
    }
    ~CPrivateTemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(fPath, ignored);
    }
    CPrivateTemporaryFolder(const CPrivateTemporaryFolder&) = delete;
    CPrivateTemporaryFolder& operator=(const CPrivateTemporaryFolder&) = delete;

    std::string PathOf(const std::string& name) const { return fPath + "/" + name; }

private:
    std::string fPath;
};

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        NSMishap::ThrowFailure(NSMishap::kFailureCode_RuntimeError_WriteFailure, "couldn't write the pasted loop",
                               NSMishap::kTargetObjectType_File);
    }
}

}  // namespace

std::unique_ptr<CQuilletDocument> OpenPastedDocument(const SClipboardLoop& loop, const SDocumentSettings& settings,
                                                     CQuilletLengthyOperation& operation) {
    std::string name;
    switch (loop.fKind) {
        case EClipboardLoopKind::kLux2: name = "Pasted.lx2"; break;
        case EClipboardLoopKind::kWave: name = "Pasted.wav"; break;
        case EClipboardLoopKind::kMidi:
            NSMishap::ThrowFailure(NSMishap::kFailureCode_RuntimeError_UnsupportedFormat,
                                   "a MIDI file is not a loop that can be pasted");
    }
    // The bytes go through the opening a file of that kind gets, with its checks, questions
    // and failures; the document then keeps nothing of the temporary file.
    const CPrivateTemporaryFolder folder;
    const std::string path = folder.PathOf(name);
    WriteBytes(path, loop.fBytes);
    std::unique_ptr<CQuilletDocument> document =
        OpenDocument(path, settings, operation, [](CABCWaveSample& sample) {
            return AnalyzeOpenedSound(sample, EStoppedAnalysis::kKeepSlicesFound);
        });
    document->ForgetFile();
    return document;
}

}  // namespace NSQuillet
