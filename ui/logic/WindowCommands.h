#pragma once

#include <cstdint>
#include <optional>

#include "app/processing/ConvertToMonoCommand.h"
#include "ui/logic/WindowKeys.h"

namespace NSQuillet {

class CQuilletDocument;

struct SSampleFormat {
    uint32_t fSampleRate = 44100;
    int32_t fBitDepth = 16;

    friend bool operator==(const SSampleFormat& a, const SSampleFormat& b) {
        return a.fSampleRate == b.fSampleRate && a.fBitDepth == b.fBitDepth;
    }
};

// The dialogs and the clipboard the window's commands reach: the window's widgets in the
// editor, scripts in tests. User-interface thread; each blocks until done.
class IWindowDialogs {
public:
    virtual ~IWindowDialogs() = default;
    // The Loop Information dialog.
    virtual void ShowLoopInformation() = 0;
    // The export flow with its dialogs.
    virtual void Export() = 0;
    // Copy Loop: the loop onto the clipboard.
    virtual void CopyLoop() = 0;
    // The Convert to Mono dialog starting at `proposed`; none when cancelled.
    virtual std::optional<EMonoChoice> AskConvertToMono(EMonoChoice proposed) = 0;
    // The Convert Sample Format dialog starting at the sample's own format; none when cancelled.
    virtual std::optional<SSampleFormat> AskConvertSampleFormat(const SSampleFormat& current) = 0;
};

// What the waveform view does for the window's View commands and zoom keys. User-interface
// thread.
class IWaveformCommands {
public:
    virtual ~IWaveformCommands() = default;
    virtual void ZoomIn() = 0;
    virtual void ZoomOut() = 0;
    virtual void MagnifyToFit() = 0;
    virtual void MagnifyToFitLoop() = 0;
    virtual void JumpToCursor() = 0;
};

// Runs the window's Edit, View and Process commands, Get Info, Export, the waveform's slice
// commands and the keys' actions on one document. A command that changes the document closes
// its undo step afterwards, so one command is one step. Failures propagate to the caller (the
// application's command runner). User-interface thread.
class CWindowCommands {
public:
    // Not owned; both outlive this object.
    CWindowCommands(CQuilletDocument& document, IWindowDialogs& dialogs);

    // Null (the start): the View commands and zoom keys do nothing.
    void SetWaveform(IWaveformCommands* waveform) { fWaveform = waveform; }

    // Whether `command` is one of those run here.
    static bool IsDispatchedCommand(int32_t command);
    // Runs `command` when it is one of those and enabled now; false otherwise.
    bool DoCommand(int32_t command);
    // Runs the action of `key` when the document has sound and the key's condition holds;
    // false, with nothing done, otherwise.
    bool DoKey(const SPlainKey& key, bool focusFree);
    // The action alone, without its key's condition.
    void DoAction(EWindowAction action, int32_t argument = 0);

private:
    bool HasSound() const;
    void SetSensitivity(int32_t sensitivity);
    void SetTool(uint32_t tool);
    void CursorToLoopStart();
    void CursorToLoopEnd();
    void Normalize();
    void ConvertToMono();
    void ConvertSampleFormat();
    void RunProcessing(int32_t command);
    void WithWaveform(void (IWaveformCommands::*command)());

    CQuilletDocument& fDocument;
    IWindowDialogs& fDialogs;
    IWaveformCommands* fWaveform = nullptr;
};

}  // namespace NSQuillet
