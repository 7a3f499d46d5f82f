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
    // consent before each file. Progress runs 0..1000 over the slices. Each file (creator code
    // 'Qlet', the type's SoundFileTypeCode) is written under a temporary name; when all are
    // written they are flushed together and take their names, so a file of that name stays as
    // it was until its new one is complete and on disk. On a failure or Stop the files finished
    // before it take their names all the same, and the one being written is removed.
    std::vector<std::string> WriteSliceFiles(CExporter& exporter, const NSDiskKit::CFileSpec& target,
                                             const SExportOptions& options, size_t maximumStemLength = 0);

    // The bytes WriteSliceFiles puts in item `index`'s file, written from the start of `media`
    // (the clipboard's copy of the loop).
    void WriteSliceTo(CExporter& exporter, int32_t index, CMedia& media, const SExportOptions& options,
                      IProgressReporter* progress);

protected:
    explicit CABCPureSoundFileFormat(ESoundFileType type);

private:
    ESoundFileType fType;
};

}  // namespace NSQuillet
