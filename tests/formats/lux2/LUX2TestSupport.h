#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "formats/loopfile/LoopFileSettings.h"
#include "formats/loopfile/QuilletFile.h"
#include "formats/lux2/LUX2Writer.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "tests/support/DistinctSettingGroups.h"
#include "tests/support/SoundFileTestSupport.h"
#include "tests/support/TiedFields.h"

namespace NSQuilletTest {

using TBytes = std::vector<uint8_t>;

// Big-endian pieces of a hand-made body.
inline TBytes U8(uint32_t v) { return {uint8_t(v)}; }
inline TBytes U16(uint32_t v) { return {uint8_t(v >> 8), uint8_t(v)}; }
inline TBytes U32(uint32_t v) { return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}; }
inline TBytes Text(const std::string& text) { return TBytes(text.begin(), text.end()); }
inline TBytes Cat(std::initializer_list<TBytes> pieces) {
    TBytes joined;
    for (const TBytes& piece : pieces) joined.insert(joined.end(), piece.begin(), piece.end());
    return joined;
}

inline TBytes BytesOf(const NSQuillet::COwnedMemoryMedia& media) {
    return TBytes(media.GetBytes(), media.GetBytes() + media.GetSize());
}

inline std::shared_ptr<NSQuillet::CMedia> MediaOf(const TBytes& bytes) {
    return std::make_shared<NSQuillet::COwnedMemoryMedia>(bytes.size(), bytes.data());
}

// A chunk file parsed independently of the readers under test: CAT groups hold members, every
// other id is a plain chunk. Serialising recomputes every size and pad byte.
struct SNode {
    std::string fId;
    std::string fType;  // CAT groups only
    TBytes fBody;       // plain chunks only
    std::vector<SNode> fMembers;
    size_t fHeaderOffset = 0;  // where the parse found it
    size_t fBodyOffset = 0;

    bool IsGroup() const { return fId == "CAT "; }

    // The first plain chunk `id`, or the first group of type `id`, depth first; null if none.
    SNode* Find(const std::string& id) {
        for (SNode& member : fMembers) {
            if ((member.IsGroup() ? member.fType : member.fId) == id) return &member;
            if (SNode* inner = member.Find(id)) return inner;
        }
        return nullptr;
    }
    void Remove(const std::string& id) {
        for (size_t i = 0; i < fMembers.size(); ++i) {
            if ((fMembers[i].IsGroup() ? fMembers[i].fType : fMembers[i].fId) == id) {
                fMembers.erase(fMembers.begin() + long(i));
                return;
            }
        }
    }
};

inline uint32_t BigEndianAt(const TBytes& bytes, size_t at) {
    return (uint32_t(bytes[at]) << 24) | (uint32_t(bytes[at + 1]) << 16) | (uint32_t(bytes[at + 2]) << 8) |
           bytes[at + 3];
}

inline void ParseMembers(const TBytes& bytes, size_t start, size_t end, SNode& group) {
    for (size_t at = start; at + 8 <= end;) {
        SNode node;
        node.fHeaderOffset = at;
        node.fId = std::string(bytes.begin() + long(at), bytes.begin() + long(at) + 4);
        const size_t size = BigEndianAt(bytes, at + 4);
        if (node.IsGroup()) {
            node.fType = std::string(bytes.begin() + long(at) + 8, bytes.begin() + long(at) + 12);
            node.fBodyOffset = at + 12;
            ParseMembers(bytes, at + 12, at + 8 + size, node);
        } else {
            node.fBodyOffset = at + 8;
            node.fBody = TBytes(bytes.begin() + long(at) + 8, bytes.begin() + long(at + 8 + size));
        }
        group.fMembers.push_back(node);
        at = (at + 8 + size + 1) & ~size_t(1);
    }
}

// The root holds the file's top-level members (one CAT LUX2).
inline SNode Parse(const TBytes& bytes) {
    SNode root;
    ParseMembers(bytes, 0, bytes.size(), root);
    return root;
}

inline void Serialise(const SNode& node, TBytes& out) {
    const TBytes id = Text(node.fId);
    out.insert(out.end(), id.begin(), id.end());
    const size_t sizeAt = out.size();
    out.resize(out.size() + 4);
    if (node.IsGroup()) {
        const TBytes type = Text(node.fType);
        out.insert(out.end(), type.begin(), type.end());
        for (const SNode& member : node.fMembers) Serialise(member, out);
    } else {
        out.insert(out.end(), node.fBody.begin(), node.fBody.end());
    }
    const uint32_t size = uint32_t(out.size() - sizeAt - 4);
    for (int i = 0; i < 4; ++i) out[sizeAt + size_t(i)] = uint8_t(size >> (24 - 8 * i));
    if (size % 2) out.push_back(0);
}

inline TBytes Serialise(const SNode& root) {
    TBytes out;
    for (const SNode& member : root.fMembers) Serialise(member, out);
    return out;
}

// A settings block with every field away from its default and inside the ranges a file keeps
// unchanged, so that a round trip must give back exactly these values.
inline NSQuillet::SLoopFileSettings DistinctSettings() {
    NSQuillet::SLoopFileSettings s;
    s.fLoop.SetBars(3);
    s.fLoop.SetBeats(2);
    s.fLoop.SetTimeSignatureNumerator(7);
    s.fLoop.SetTimeSignatureDenominator(8);
    s.fLoop.SetPreviewTempo(98765);
    s.fLoop.SetPreviewOn(true);
    s.fLoop.SetSilenceSelected(true);
    s.fSensitivity = 63;
    s.fGateSensitivity = 412;
    s.fGain = 2512;
    s.fPitch = -1234;
    s.fExportSlicesSeparately = false;
    s.fRulerUnits = 287;
    s.fExportSize = 0x01234567;
    s.fEditTool = 687;
    s.fWindowState1 = 0xDEADBEEF;
    s.fWindowState2 = 0x00C0FFEE;
    s.fWindowStateFlag = 1;
    s.fEnvelope = DistinctEnvelope();
    s.fEqualizer = DistinctEqualizer();
    s.fTransientShaper = DistinctTransientShaper();
    s.fLeftLocator = 10;
    s.fRightLocator = 150;
    return s;
}

// A small loop: a sample of `frames` frames with a slice of every kind, selected or not.
struct SLoop {
    std::unique_ptr<NSQuillet::CABCWaveSample> fSample;
    std::unique_ptr<NSQuillet::CSliceSequence> fSlices;
    NSQuillet::SLoopFileSettings fSettings;
};

inline SLoop MakeLoop(int32_t depth, int32_t channels, int32_t frames = 200, uint32_t rate = 44100) {
    using namespace NSQuillet;
    SLoop loop;
    loop.fSample = MakeSample(depth, channels, frames, rate);
    loop.fSlices = std::make_unique<CSliceSequence>(loop.fSample.get());
    const CSlice slices[] = {
        CSlice(0, 16384, ESliceKind::kNormal, false),
        CSlice(frames / 4, 32767, ESliceKind::kMuted, true),
        CSlice(frames / 2, 1, ESliceKind::kLocked, false),
        CSlice(frames * 3 / 4, 200, ESliceKind::kNormal, true),
    };
    for (const CSlice& slice : slices) loop.fSlices->InsertSlice(slice);
    loop.fSettings = DistinctSettings();
    loop.fSettings.fRightLocator = std::min(loop.fSettings.fRightLocator, frames);
    loop.fSettings.fLeftLocator = std::min(loop.fSettings.fLeftLocator, loop.fSettings.fRightLocator);
    loop.fSlices->SetSensitivity(loop.fSettings.fSensitivity);
    loop.fSlices->SetGateSensitivity(loop.fSettings.fGateSensitivity);
    return loop;
}

inline TBytes WriteLoop(const SLoop& loop, NSQuillet::IProgressReporter* progress = nullptr) {
    NSQuillet::COwnedMemoryMedia media;
    NSQuillet::WriteLUX2File(media, *loop.fSample, *loop.fSlices, loop.fSettings, progress);
    return BytesOf(media);
}

// Every piece of the file, read the way opening and the information view read it.
inline void ReadEverything(const TBytes& bytes) {
    using namespace NSQuillet;
    const CQuilletFile file(MediaOf(bytes));
    file.ReadSettings();
    file.ReadShownSettings();
    SLoopFileCreatorInfo creator;
    file.ReadCreatorInfo(creator);
    std::unique_ptr<CABCWaveSample> sample = file.ReadSound(nullptr);
    CSliceSequence slices(sample.get());
    file.ReadSlices(slices);
}

}  // namespace NSQuilletTest
