#pragma once

#include <string>
#include <vector>

#include "formats/export/ExportFileFormat.h"
#include "formats/soundfile/SoundFileInfo.h"

namespace NSQuillet {

class CMedia;

// A format that writes one sound file per slice, at the options' rate and depth, mono or
// stereo as the loop, with the loop points the exporter gives. In slice mode slice i goes to
// SliceFileName(chosen name, i, extension) beside the chosen file; the one-sample export
// writes the chosen file itself.
class CABCPureSoundFileFormat : public CABCExportFileFormat {
public:
    void Export(CExporter& exporter, const NSDiskKit::CFileSpec& target, const SExportOptions& options) override;
    bool WritesFilePerSlice() const override { return true; }

    // Writes every file of Export and returns their names in slice order, each kept within
    // `maximumStemLength` bytes before the extension (0: no limit). Asks the options' replace
    // consent before each file. Progress runs 0..1000 over the slices.
    std::vector<std::string> WriteSliceFiles(CExporter& exporter, const NSDiskKit::CFileSpec& target,
                                             const SExportOptions& options, size_t maximumStemLength = 0);

    // Renders item `index`, converts it and writes it as `file` (created with the creator code
    // 'Qlet' and the type's SoundFileTypeCode, replacing a file of that name only once complete).
    virtual void WriteSlice(CExporter& exporter, int32_t index, const NSDiskKit::CFileSpec& file,
                            const SExportOptions& options, IProgressReporter* progress);
    // The bytes WriteSlice puts in the file, written from the start of `media` (the clipboard's
    // copy of the loop).
    void WriteSliceTo(CExporter& exporter, int32_t index, CMedia& media, const SExportOptions& options,
                      IProgressReporter* progress);

protected:
    explicit CABCPureSoundFileFormat(ESoundFileType type);

private:
    ESoundFileType fType;
};

}  // namespace NSQuillet
