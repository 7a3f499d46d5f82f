#pragma once

namespace NSQuillet {

// Told by the document what kind of its state changed; re-reads what it shows. Calls come on
// the user-interface thread, in this order, once per notification; a failure thrown here is
// dropped by the document.
class IDocumentListener {
public:
    virtual void OnParametersChanged() = 0;
    virtual void OnSlicesChanged() = 0;
    virtual void OnWaveSampleChanged() = 0;
    virtual void OnViewAndEditAttributesChanged() = 0;
    virtual void OnUndoHistoryChanged() = 0;
    virtual void OnTitleChanged() = 0;
    virtual void OnPlaybackStateChanged() = 0;

protected:
    ~IDocumentListener() = default;
};

}  // namespace NSQuillet
