#include "ui/logic/ExportFileTypes.h"

#include <strings.h>

#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

// A type's name may say its extension already, "Sampler Program File (.akp)": the filter
// says it once.
std::string NameWithoutExtensionNote(std::string name, const std::string& extension) {
    const std::string note = " (" + extension + ")";
    if (name.size() > note.size() && name.compare(name.size() - note.size(), note.size(), note) == 0)
        name.erase(name.size() - note.size());
    return name;
}

SExportFileType MakeType(EExportFormat format, int32_t nameEntry, std::vector<std::string> extensions) {
    std::string filter = NameWithoutExtensionNote(StringReference(nameEntry).GetText(), extensions.front()) + " (";
    for (size_t i = 0; i < extensions.size(); ++i) filter += (i ? " *" : "*") + extensions[i];
    return SExportFileType{format, filter + ")", std::move(extensions)};
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& end) {
    return text.size() > end.size() && strcasecmp(text.c_str() + text.size() - end.size(), end.c_str()) == 0;
}

}  // namespace

const std::vector<SExportFileType>& GetExportFileTypes() {
    using namespace NSStringIds;
    static const std::vector<SExportFileType> types = {
        MakeType(EExportFormat::kWave, kFileType_Wave, {MakeExportFileFormat(EExportFormat::kWave)->GetExtension()}),
        MakeType(EExportFormat::kAiff, kFileType_AIFF,
                 {MakeExportFileFormat(EExportFormat::kAiff)->GetExtension(), ".aiff"}),
        MakeType(EExportFormat::kMIDI, kFileType_MIDI, {MakeExportFileFormat(EExportFormat::kMIDI)->GetExtension()}),
        MakeType(EExportFormat::kSoundFont, kFileType_SoundFont,
                 {MakeExportFileFormat(EExportFormat::kSoundFont)->GetExtension()}),
        MakeType(EExportFormat::kSamplerProgram, kFileType_Program,
                 {MakeExportFileFormat(EExportFormat::kSamplerProgram)->GetExtension()}),
    };
    return types;
}

const SExportFileType& GetExportFileType(EExportFormat format) {
    for (const SExportFileType& type : GetExportFileTypes())
        if (type.fFormat == format) return type;
    throw NSMishap::XStdInvalidArgument("unknown export format");
}

std::string ExportPathWithExtension(const std::string& chosen, EExportFormat format) {
    const SExportFileType& type = GetExportFileType(format);
    for (const std::string& extension : type.fExtensions)
        if (EndsWithIgnoringCase(chosen, extension)) return chosen;
    return chosen + type.fExtensions.front();
}

}  // namespace NSQuillet
