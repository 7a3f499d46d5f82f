#include "cli/InfoSubcommand.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdio>

#include "app/opening/SoundFileInfoCheck.h"
#include "app/opening/SoundFileOpening.h"
#include "cli/FileSubcommand.h"
#include "engine/LoopSettings.h"
#include "formats/diskkitsupport/FileMediaAccess.h"
#include "formats/loopfile/QuilletFile.h"

namespace NSQuillet::NSCli {

namespace {

// The JSON name and the printed name of a loop file's kind.
const char* KindName(ELoopFileKind kind, bool json) {
    switch (kind) {
        case ELoopFileKind::kLUX:
            return json ? "lux" : "LUX";
        case ELoopFileKind::kQLT:
            return json ? "qlt" : "QLT";
        default:
            return json ? "lux2" : "LUX2";
    }
}

std::string FormatTempo(int32_t thousandths) {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%03d", int(thousandths / 1000), int(thousandths % 1000));
    return text;
}

class CInfoSubcommand final : public CFileSubcommand {
public:
    explicit CInfoSubcommand(CLI::App& app) : CFileSubcommand("info") {
        auto* command = app.add_subcommand("info", "Print a file's type, channels, bits, sample rate, frames and duration");
        AddInputs(*command, "FILE", "WAVE, AIFF or loop file", false);
        command->add_flag("--json", fJson, "Print one JSON object (with several inputs, one a line with its path)");
    }

private:
    std::string OutputNameOf(const std::string&, const std::string&) const override { return ""; }
    bool PrintsJson() const override { return fJson; }

    EExitCode RunFile(SSubcommandContext& context, const SFileTask& task) const override {
        auto media = NSDiskKitSupport::OpenMediaForReading(task.fInput);
        if (CQuilletFile::Identify(*media) != ELoopFileKind::kNone) return PrintLoopFile(context, std::move(media));
        media.reset();
        return PrintSoundFile(context, task.fInput);
    }

    EExitCode PrintLoopFile(SSubcommandContext& context, std::shared_ptr<CMedia> media) const {
        const CQuilletFile file(std::move(media));
        const SLoopFileInfo& info = file.GetInfo();
        CheckSoundFileInfo(info);
        const SLoopFileSettings settings = file.ReadSettings();
        const CLoopSettings& loop = settings.fLoop;
        const int32_t originalTempo = loop.GetOriginalTempo(info.fLoopEnd - info.fLoopStart, info.fSampleRate);
        const double seconds = double(info.fFrameCount) / double(info.fSampleRate);
        const std::string signature =
            std::to_string(loop.GetTimeSignatureNumerator()) + "/" + std::to_string(loop.GetTimeSignatureDenominator());
        if (fJson) {
            nlohmann::json json = {
                {"file_type", KindName(file.GetKind(), true)},
                {"channels", info.fChannelCount},
                {"bit_depth", info.fBitDepth},
                {"sample_rate", info.fSampleRate},
                {"frame_count", info.fFrameCount},
                {"duration", seconds},
                {"bars", loop.GetBars()},
                {"beats", loop.GetBeats()},
                {"signature", signature},
                {"original_tempo", originalTempo},
                {"preview_tempo", loop.GetPreviewTempo()},
                {"slice_count", info.fGeneral.fSliceCount},
                {"export_size", info.fExportSize},
                {"compression_ratio", info.fCompressionRatio},
            };
            context.fOut << json.dump() << '\n';
            return kExitSuccess;
        }
        char duration[32];
        std::snprintf(duration, sizeof duration, "%.3f s", seconds);
        char ratio[32];
        std::snprintf(ratio, sizeof ratio, "%.3f", info.fCompressionRatio);
        context.fOut << "type: " << KindName(file.GetKind(), false) << '\n'
                     << "channels: " << info.fChannelCount << '\n'
                     << "bits: " << info.fBitDepth << '\n'
                     << "sample rate: " << info.fSampleRate << '\n'
                     << "frames: " << info.fFrameCount << '\n'
                     << "duration: " << duration << '\n'
                     << "bars: " << loop.GetBars() << '\n'
                     << "beats: " << loop.GetBeats() << '\n'
                     << "signature: " << signature << '\n'
                     << "original tempo: " << (originalTempo > 0 ? FormatTempo(originalTempo) : "none") << '\n'
                     << "preview tempo: " << FormatTempo(loop.GetPreviewTempo()) << '\n'
                     << "slices: " << info.fGeneral.fSliceCount << '\n'
                     << "export size: " << info.fExportSize << " bytes\n"
                     << "compression ratio: " << ratio << '\n';
        return kExitSuccess;
    }

    EExitCode PrintSoundFile(SSubcommandContext& context, const std::string& path) const {
        CSoundFileOpening opening(path);
        opening.CheckInfo();
        const SSoundFileInfo& info = opening.GetInfo();
        const int32_t channels = opening.GetChannelCount();
        const double seconds = double(info.fFrames) / double(info.fSampleRate);
        const char* type = info.fType == ESoundFileType::kAiff ? "aiff" : "wave";
        if (fJson) {
            nlohmann::json json = {
                {"file_type", type},         {"channels", channels},         {"bit_depth", info.fBitDepth},
                {"sample_rate", info.fSampleRate}, {"frame_count", info.fFrames}, {"duration", seconds},
            };
            if (!opening.GetPartnerPath().empty()) json["linked_stereo_partner"] = opening.GetPartnerPath();
            context.fOut << json.dump() << '\n';
            return kExitSuccess;
        }
        char duration[32];
        std::snprintf(duration, sizeof duration, "%.3f s", seconds);
        context.fOut << "type: " << (info.fType == ESoundFileType::kAiff ? "AIFF" : "WAVE") << '\n'
                     << "channels: " << channels << '\n'
                     << "bits: " << info.fBitDepth << '\n'
                     << "sample rate: " << info.fSampleRate << '\n'
                     << "frames: " << info.fFrames << '\n'
                     << "duration: " << duration << '\n';
        if (!opening.GetPartnerPath().empty()) context.fOut << "linked stereo partner: " << opening.GetPartnerPath() << '\n';
        return kExitSuccess;
    }

    bool fJson = false;
};

}  // namespace

std::unique_ptr<ISubcommand> MakeInfoSubcommand(CLI::App& app) { return std::make_unique<CInfoSubcommand>(app); }

}  // namespace NSQuillet::NSCli
