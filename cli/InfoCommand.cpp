#include "cli/InfoCommand.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdio>

#include "app/SoundFileOpening.h"

namespace NSQuillet::NSCli {

namespace {

class CInfoCommand final : public ICommand {
public:
    explicit CInfoCommand(CLI::App& app) {
        auto* command = app.add_subcommand("info", "Print a file's type, channels, bits, sample rate, frames and duration");
        command->add_option("FILE", fPath, "WAVE or AIFF file")->required();
        command->add_flag("--json", fJson, "Print one JSON object");
    }

    EExitCode Run(SCommandContext& context) override {
        CSoundFileOpening opening(fPath);
        opening.CheckInfo();
        const SSoundFileInfo& info = opening.GetInfo();
        const int32_t channels = opening.GetPartnerPath().empty() ? info.fChannels : 2;
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

private:
    std::string fPath;
    bool fJson = false;
};

}  // namespace

std::unique_ptr<ICommand> MakeInfoCommand(CLI::App& app) { return std::make_unique<CInfoCommand>(app); }

}  // namespace NSQuillet::NSCli
