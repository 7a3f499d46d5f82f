#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/diskkit/FileSpec.h"

namespace NSQuillet {

class CExporter;
class CReplaceConsent;
class IProgressReporter;

// What the user chose for one export. The rate and depth are those the written audio has;
// the slices exported are the exporter's first fSliceCount items.
struct SExportOptions {
    uint32_t fSampleRate = 44100;
    int32_t fBitDepth = 16;
    // At most the exporter's item count; negative: all of them.
    int32_t fSliceCount = -1;
    // Key (and note) of the first slice for the formats that map slices to keys.
    int32_t fBaseNote = 36;
    // The loop's name for MIDI track names, presets and instruments (UTF-8).
    std::string fLoopName;
    // Asks before an existing file is replaced; holds "Replace All" for the whole export.
    // Required.
    CReplaceConsent* fReplaceConsent = nullptr;
    // Progress in thousandths and Stop (XAbort "user pressed stop"); may be null.
    IProgressReporter* fProgress = nullptr;
};

// The options' replace consent; an export without one is an XStdInvalidArgument.
CReplaceConsent& RequireReplaceConsent(const SExportOptions& options);

// The export's slice count: the options' count when it is 0 or more, limited to the items
// the exporter plans.
int32_t ExportedSliceCount(const CExporter& exporter, const SExportOptions& options);

// The slice limit of a format that puts slice i on key baseNote + i: every key stays within
// 0..127. At least 1, since 0 means no limit.
inline int32_t KeyRangeSliceLimit(int32_t baseNote) { return baseNote < 127 ? 128 - baseNote : 1; }

// One way to write a loop for other programs. Every file is written under a temporary name
// and takes its own only when complete, so a failed or stopped export leaves an existing file
// as it was; files finished before the failure stay.
// User-interface thread; blocks on disk I/O.
class CABCExportFileFormat {
public:
    static constexpr int32_t kDefaultBaseNote = 36;

    virtual ~CABCExportFileFormat() = default;
    CABCExportFileFormat(const CABCExportFileFormat&) = delete;
    CABCExportFileFormat& operator=(const CABCExportFileFormat&) = delete;

    // Writes everything this format produces for the loop the exporter plans. `target` is the
    // file the user chose: the file itself for formats that write one file, the folder and
    // name the slice files are named after for the others.
    virtual void Export(CExporter& exporter, const NSDiskKit::CFileSpec& target, const SExportOptions& options) = 0;

    // ".wav", ".aif", ".mid", ".sf2", ".akp".
    virtual const char* GetExtension() const = 0;
    // The most slices the format can use with `baseNote` (0: no limit).
    virtual int32_t GetMaximumSliceCount(int32_t baseNote) const { (void)baseNote; return 0; }
    // Whether the format writes one sound file per slice (and so asks for the export settings).
    virtual bool WritesFilePerSlice() const { return false; }

    // Offered rates and depths in the order added; the defaults are the first added. Empty for
    // a format without audio.
    const std::vector<uint32_t>& GetSampleRates() const { return fSampleRates; }
    uint32_t GetDefaultSampleRate() const { return fSampleRates.empty() ? 0 : fSampleRates.front(); }
    const std::vector<int32_t>& GetBitDepths() const { return fBitDepths; }
    int32_t GetDefaultBitDepth() const { return fBitDepths.empty() ? 0 : fBitDepths.front(); }
    bool OffersSampleRate(uint32_t rate) const;
    bool OffersBitDepth(int32_t depth) const;

protected:
    CABCExportFileFormat() = default;
    void AddSampleRate(uint32_t rate) { fSampleRates.push_back(rate); }
    void AddBitDepth(int32_t depth) { fBitDepths.push_back(depth); }

private:
    std::vector<uint32_t> fSampleRates;
    std::vector<int32_t> fBitDepths;
};

}  // namespace NSQuillet
