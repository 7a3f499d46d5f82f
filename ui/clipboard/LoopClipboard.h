#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <Qt>

#include "app/clipboard/ClipboardLoop.h"

class QMimeData;
class QString;
class QWidget;

namespace NSQuillet {

class CLoopDataSupplier;
class CQuilletDocument;
class ILoopLengthRequest;

// The MIME types a copied or dragged loop is offered in: the WAVE kind under both audio names,
// the MIDI and LUX2 kinds, and its temporary WAVE file for file managers and programs that
// take files.
inline constexpr char kMimeType_Wave[] = "audio/wav";
inline constexpr char kMimeType_XWave[] = "audio/x-wav";
inline constexpr char kMimeType_MIDI[] = "audio/midi";
inline constexpr char kMimeType_Loop[] = "application/x-quillet-loop";
inline constexpr char kMimeType_UriList[] = "text/uri-list";
inline constexpr char kMimeType_GnomeCopiedFiles[] = "x-special/gnome-copied-files";

// Which hand-over a temporary file belongs to: each keeps one file, so that a drag does not
// take away the file the clipboard names.
enum class ELoopTransfer { kClipboard, kDrag };

// `data` as MIME data, with its WAVE kind written to "<name>.wav" in a fresh private folder
// under $XDG_RUNTIME_DIR (else the temporary location); the transfer's previous file and folder
// are removed first. When the file cannot be written the kinds are offered without it (and the
// failure goes to the diagnostics). User-interface thread.
std::unique_ptr<QMimeData> MakeLoopMimeData(const CLoopDataSupplier& data, ELoopTransfer transfer);

// The path of the transfer's current temporary file; empty when there is none.
QString GetLoopTransferFile(ELoopTransfer transfer);

// Removes the temporary files of both transfers with their folders: at the next copy or drag
// through MakeLoopMimeData, and when the application stops.
void RemoveLoopTransferFiles();

// Edit > Copy Loop: CopyLoopData, then the loop goes onto the system clipboard. False, with
// the clipboard unchanged, when nothing was copied (no sound, declined length, Stop).
bool CopyLoopToClipboard(CQuilletDocument& document, ILoopLengthRequest& lengthRequest);

// The loop `mime` holds for Paste as New Document: its LUX2 kind when offered, else its WAVE
// kind, else the bytes of the one local file its URI list names when that is a loop file (.lx2)
// or a WAVE file (.wav, .wave); none otherwise, or when that file cannot be read.
std::optional<SClipboardLoop> ReadLoopMimeData(const QMimeData& mime);
// ReadLoopMimeData of the system clipboard.
std::optional<SClipboardLoop> ReadClipboardLoop();

// The drag out of a document window: CopyLoopData, then a copy drag from `source` offering the
// same kinds and its own temporary WAVE file, so that the loop drops into another program or a
// file manager. Blocks until the drop; the action the target took, Qt::IgnoreAction when
// nothing was dragged.
Qt::DropAction StartLoopDrag(QWidget* source, CQuilletDocument& document, ILoopLengthRequest& lengthRequest);

// The chosen slices (full indices) that sound between the locators, each rendered as the
// per-slice export renders it (preview tempo, the sample's clamped rate and depth) into a WAVE
// file of its own named as the export names slice files ("Loop 001.wav"), in a fresh folder of
// the drag transfer; the files offered as a URI list. Null when none of them sounds. A loop
// without a length asks `lengthRequest` first; null when it is declined. User-interface thread.
std::unique_ptr<QMimeData> MakeSlicesMimeData(CQuilletDocument& document, const std::vector<int32_t>& slices,
                                              ILoopLengthRequest& lengthRequest);

// The drag of chosen slices out of a document window: MakeSlicesMimeData, or, when none of
// them sounds, the whole loop as StartLoopDrag hands it. Blocks until the drop.
Qt::DropAction StartSlicesDrag(QWidget* source, CQuilletDocument& document, const std::vector<int32_t>& slices,
                               ILoopLengthRequest& lengthRequest);

}  // namespace NSQuillet
