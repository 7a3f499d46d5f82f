#include "ui/logic/ExportFileTypes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace NSQuillet {
namespace {

TEST(ExportFileTypes, ListTheFiveTypesInOrderEachNamingItsExtensionOnce) {
    std::vector<std::string> filters;
    std::vector<EExportFormat> formats;
    for (const SExportFileType& type : GetExportFileTypes()) {
        filters.push_back(type.fFilter);
        formats.push_back(type.fFormat);
    }
    EXPECT_EQ(filters,
              (std::vector<std::string>{"Wave File (*.wav)", "Audio IFF (*.aif *.aiff)", "Standard MIDI File (*.mid)",
                                        "SoundFont File (*.sf2)", "Sampler Program File (*.akp)"}));
    EXPECT_EQ(formats, (std::vector<EExportFormat>{EExportFormat::kWave, EExportFormat::kAiff, EExportFormat::kMIDI,
                                                   EExportFormat::kSoundFont, EExportFormat::kSamplerProgram}));
}

TEST(ExportFileTypes, TheChosenTypesExtensionIsAddedUnlessTheNameEndsInOneOfIts) {
    struct SRow {
        const char* fChosen;
        EExportFormat fFormat;
        const char* fPath;
    };
    const SRow rows[] = {
        {"/loops/Funk", EExportFormat::kWave, "/loops/Funk.wav"},
        {"/loops/Funk.wav", EExportFormat::kWave, "/loops/Funk.wav"},
        {"/loops/Funk.WAV", EExportFormat::kWave, "/loops/Funk.WAV"},
        {"/loops/Funk.aiff", EExportFormat::kAiff, "/loops/Funk.aiff"},
        {"/loops/Funk.aif", EExportFormat::kAiff, "/loops/Funk.aif"},
        // The type decides: another type's extension is part of the name.
        {"/loops/Funk.aif", EExportFormat::kWave, "/loops/Funk.aif.wav"},
        {"/loops/Funk.v2", EExportFormat::kMIDI, "/loops/Funk.v2.mid"},
        {"/loops/Funk", EExportFormat::kSoundFont, "/loops/Funk.sf2"},
        {"/loops/Funk", EExportFormat::kSamplerProgram, "/loops/Funk.akp"},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fChosen);
        EXPECT_EQ(ExportPathWithExtension(row.fChosen, row.fFormat), row.fPath);
    }
}

}  // namespace
}  // namespace NSQuillet
