#pragma once

#include "app/document/DocumentListener.h"

namespace NSQuilletTest {

// Counts the document's playback notifications and ignores the rest.
class CPlaybackNotificationCounter final : public NSQuillet::IDocumentListener {
public:
    void OnParametersChanged() override {}
    void OnSlicesChanged() override {}
    void OnWaveSampleChanged() override {}
    void OnViewAndEditAttributesChanged() override {}
    void OnUndoHistoryChanged() override {}
    void OnTitleChanged() override {}
    void OnPlaybackStateChanged() override { ++fCalls; }

    int fCalls = 0;
};

}  // namespace NSQuilletTest
