#pragma once

#include <cstdint>

#include "formats/media/MediaImplementation.h"

namespace NSQuillet {

// A media with a current position for sequential access (0 on construction). Every transfer
// here leaves the position at position + count; a failed transfer leaves it alone.
class CMedia : public IMediaImplementation {
public:
    CMedia() = default;
    CMedia(const CMedia&) = delete;
    CMedia& operator=(const CMedia&) = delete;

    void ReadAt(uint64_t position, uint64_t count, void* destination) final;
    void WriteAt(uint64_t position, uint64_t count, const void* source) final;

    void Read(uint64_t count, void* destination) { ReadAt(fPosition, count, destination); }
    void Write(uint64_t count, const void* source) { WriteAt(fPosition, count, source); }

    uint64_t GetPosition() const { return fPosition; }
    void SetPosition(uint64_t position) { fPosition = position; }
    // A move to before 0 or past 2^64 - 1 is an XStdOutOfRange and leaves the position alone.
    void Skip(int64_t delta);

protected:
    // The transfers of each kind of media: all or nothing, and the range is checked here
    // (nothing above guards against a range whose end passes 2^64 - 1).
    virtual void ReadBytesAt(uint64_t position, uint64_t count, void* destination) = 0;
    virtual void WriteBytesAt(uint64_t position, uint64_t count, const void* source) = 0;

    // Transfers on another media without moving its position: how a child reaches its parent.
    static void ReadBytesOf(CMedia& media, uint64_t position, uint64_t count, void* destination) {
        media.ReadBytesAt(position, count, destination);
    }
    static void WriteBytesOf(CMedia& media, uint64_t position, uint64_t count, const void* source) {
        media.WriteBytesAt(position, count, source);
    }

private:
    uint64_t fPosition = 0;
};

}  // namespace NSQuillet
