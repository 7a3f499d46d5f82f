#pragma once

namespace NSQuillet {

class CSlice;

// Takes the slices a search finds, in the order it finds them.
class ISliceInserter {
public:
    virtual void InsertSlice(const CSlice& slice) = 0;

protected:
    ~ISliceInserter() = default;
};

}  // namespace NSQuillet
