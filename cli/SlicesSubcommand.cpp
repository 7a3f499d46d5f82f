#include "cli/SlicesSubcommand.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdio>
#include <string>

#include "app/opening/OpeningAnalysis.h"
#include "cli/FileSubcommand.h"
#include "cli/LoopOptions.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"

namespace NSQuillet::NSCli {

namespace {

const char* KindName(ESliceKind kind) {
    switch (kind) {
        case ESliceKind::kNormal: return "normal";
        case ESliceKind::kMuted: return "muted";
        case ESliceKind::kLocked: return "locked";
    }
    return "normal";
}

void AppendInteger(std::string& text, int32_t value) {
    char digits[16];
    const auto written = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, written.ptr);
}

void AppendBool(std::string& text, bool value) { text += value ? "true" : "false"; }

class CSlicesSubcommand final : public CFileSubcommand {
public:
    explicit CSlicesSubcommand(CLI::App& app) : CFileSubcommand("slices") {
        auto* command = app.add_subcommand("slices", "List every slice of a loop, shown or not (a sound file is analysed)");
        AddInputs(*command, "FILE", "WAVE, AIFF or loop file", false);
        command->add_option("--sensitivity", fOptions.fSensitivity, "Analysis sensitivity, 0..99")->check(CLI::Range(0, 99));
        command->add_option("--gate", fOptions.fGate, "Gate sensitivity, 0..999 (0: off)")->check(CLI::Range(0, 999));
        command->add_flag("--json", fJson, "Print one JSON object (with several inputs, one a line with its path)");
    }

    std::string OutputNameOf(const std::string&, const std::string&) const override { return ""; }
    bool PrintsJson() const override { return fJson; }

    EExitCode RunFile(SSubcommandContext& context, const SFileTask& task) const override {
        auto document = OpenAnalyzedDocument(task.fInput, EStoppedAnalysis::kStopOpening);
        ApplyLoopOptions(*document, fOptions);
        if (fJson) {
            PrintJson(context, *document);
        } else {
            PrintTable(context, *document);
        }
        return kExitSuccess;
    }

private:
    // The slice list is written as it is walked: a json tree of thousands of slices costs more
    // to build and free than the analysis takes. The bytes are those of nlohmann's dump():
    // keys in sorted order, no spaces.
    void PrintJson(SSubcommandContext& context, const CQuilletDocument& document) const {
        const CSliceSequence& slices = document.GetSliceSequence();
        const nlohmann::json head = {{"frame_count", document.GetWaveSample().GetFrameCount()},
                                     {"sensitivity", slices.GetSensitivity()},
                                     {"gate_sensitivity", slices.GetGateSensitivity()}};
        std::string text = head.dump();
        text.pop_back();
        text.reserve(text.size() + slices.GetSlices().size() * 112 + 16);
        text += ",\"slices\":[";
        bool first = true;
        for (const CSlice& slice : slices.GetSlices()) {
            if (!first) text += ',';
            first = false;
            text += "{\"active\":";
            AppendBool(text, slices.IsSliceActive(slice));
            text += ",\"kind\":\"";
            text += KindName(slice.GetKind());
            text += "\",\"length\":";
            AppendInteger(text, slice.GetLength());
            text += ",\"level\":";
            AppendInteger(text, slice.GetLevel());
            text += ",\"position\":";
            AppendInteger(text, slice.GetPosition());
            text += ",\"selected\":";
            AppendBool(text, slice.IsSelected());
            text += ",\"shown\":";
            AppendBool(text, slices.IsSliceShown(slice));
            text += '}';
        }
        text += "]}\n";
        context.fOut << text;
    }

    void PrintTable(SSubcommandContext& context, const CQuilletDocument& document) const {
        const CSliceSequence& slices = document.GetSliceSequence();
        context.fOut << "frames: " << document.GetWaveSample().GetFrameCount() << ", sensitivity: " << slices.GetSensitivity()
                     << ", gate sensitivity: " << slices.GetGateSensitivity() << ", slices: " << slices.GetSliceCount()
                     << '\n';
        char line[128];
        std::snprintf(line, sizeof line, "%6s %10s %10s %6s %-7s %-8s %-6s %-5s\n", "index", "position", "length",
                      "level", "kind", "selected", "active", "shown");
        context.fOut << line;
        int32_t index = 0;
        for (const CSlice& slice : slices.GetSlices()) {
            std::snprintf(line, sizeof line, "%6d %10d %10d %6d %-7s %-8s %-6s %-5s\n", int(index++),
                          int(slice.GetPosition()), int(slice.GetLength()), int(slice.GetLevel()), KindName(slice.GetKind()),
                          slice.IsSelected() ? "yes" : "no", slices.IsSliceActive(slice) ? "yes" : "no",
                          slices.IsSliceShown(slice) ? "yes" : "no");
            context.fOut << line;
        }
    }

    SLoopOptions fOptions;
    bool fJson = false;
};

}  // namespace

std::unique_ptr<ISubcommand> MakeSlicesSubcommand(CLI::App& app) { return std::make_unique<CSlicesSubcommand>(app); }

}  // namespace NSQuillet::NSCli
