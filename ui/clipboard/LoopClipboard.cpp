#include "ui/clipboard/LoopClipboard.h"

#include <QByteArray>
#include <QClipboard>
#include <QDir>
#include <QDrag>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QList>
#include <QMimeData>
#include <QSaveFile>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/clipboard/LoopDataSupplier.h"
#include "app/document/LoopLengthRequest.h"
#include "app/document/QuilletDocument.h"
#include "engine/Exporter.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "formats/export/ExportFileFormat.h"
#include "formats/export/ExportFileNames.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "formats/soundfile/WAVFileFormat.h"
#include "foundation/Diagnostics.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

// Each transfer's private folder, holding its one file; removed with it.
struct STransferFolder {
    std::unique_ptr<QTemporaryDir> fFolder;
    QString fFile;
};

STransferFolder gTransferFolders[2];

STransferFolder& FolderOf(ELoopTransfer transfer) {
    return gTransferFolders[transfer == ELoopTransfer::kClipboard ? 0 : 1];
}

void Remove(STransferFolder& folder) {
    folder.fFolder.reset();
    folder.fFile.clear();
}

// The per-user runtime folder when there is one (private, emptied at logout), else the
// temporary location.
QString TransferBase() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) return runtime;
    return QStandardPaths::writableLocation(QStandardPaths::TempLocation);
}

// The loop's name as a file name: no folder separators, never empty or hidden.
QString FileNameOf(const std::string& name) {
    QString stem = QString::fromStdString(name);
    stem.replace(QLatin1Char('/'), QLatin1Char('_'));
    stem.remove(QChar(0));
    if (stem.startsWith(QLatin1Char('.'))) stem.replace(0, 1, QLatin1Char('_'));
    if (stem.isEmpty()) stem = QStringLiteral("Loop");
    return stem + QStringLiteral(".wav");
}

QByteArray ToByteArray(const std::vector<uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

std::vector<uint8_t> ToBytes(const QByteArray& bytes) {
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// A fresh folder with the WAVE kind in it; the path, or empty after reporting why not.
QString WriteTransferFile(STransferFolder& folder, const CLoopDataSupplier& data) {
    try {
        auto created = std::make_unique<QTemporaryDir>(TransferBase() + QStringLiteral("/quillet-loop-XXXXXX"));
        if (!created->isValid()) throw NSMishap::XCreate(created->errorString().toStdString());
        const QString path = created->filePath(FileNameOf(data.GetName()));
        QSaveFile file(path);
        const QByteArray wave = ToByteArray(data.GetBytes(EClipboardLoopKind::kWave));
        if (!file.open(QIODevice::WriteOnly) || file.write(wave) != wave.size() || !file.commit())
            throw NSMishap::XWrite(file.errorString().toStdString());
        folder.fFolder = std::move(created);
        folder.fFile = path;
        return path;
    } catch (...) {
        NSMishap::ReportCaughtFailure("writing the copied loop's file");
        return QString();
    }
}

// A fresh folder holding `files` (name, bytes); the first file is the transfer's file. False,
// after reporting why, when a file cannot be written.
bool WriteTransferFiles(STransferFolder& folder, const std::vector<std::pair<QString, QByteArray>>& files,
                        QList<QUrl>& urls) {
    try {
        auto created = std::make_unique<QTemporaryDir>(TransferBase() + QStringLiteral("/quillet-slices-XXXXXX"));
        if (!created->isValid()) throw NSMishap::XCreate(created->errorString().toStdString());
        for (const auto& [name, bytes] : files) {
            const QString path = created->filePath(name);
            QSaveFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
                throw NSMishap::XWrite(file.errorString().toStdString());
            urls.push_back(QUrl::fromLocalFile(path));
        }
        folder.fFolder = std::move(created);
        folder.fFile = urls.isEmpty() ? QString() : urls.front().toLocalFile();
        return true;
    } catch (...) {
        NSMishap::ReportCaughtFailure("writing the dragged slices' files");
        urls.clear();
        return false;
    }
}

std::optional<SClipboardLoop> ReadNamedFile(const QMimeData& mime) {
    const QList<QUrl> urls = mime.urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return std::nullopt;
    const QString path = urls.front().toLocalFile();
    const QString suffix = QFileInfo(path).suffix().toLower();
    EClipboardLoopKind kind;
    if (suffix == QStringLiteral("lx2")) {
        kind = EClipboardLoopKind::kLux2;
    } else if (suffix == QStringLiteral("wav") || suffix == QStringLiteral("wave")) {
        kind = EClipboardLoopKind::kWave;
    } else {
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return SClipboardLoop{kind, ToBytes(bytes)};
}

}  // namespace

std::unique_ptr<QMimeData> MakeLoopMimeData(const CLoopDataSupplier& data, ELoopTransfer transfer) {
    STransferFolder& folder = FolderOf(transfer);
    Remove(folder);
    auto mime = std::make_unique<QMimeData>();
    const QByteArray wave = ToByteArray(data.GetBytes(EClipboardLoopKind::kWave));
    mime->setData(QString::fromLatin1(kMimeType_Wave), wave);
    mime->setData(QString::fromLatin1(kMimeType_XWave), wave);
    mime->setData(QString::fromLatin1(kMimeType_MIDI), ToByteArray(data.GetBytes(EClipboardLoopKind::kMidi)));
    mime->setData(QString::fromLatin1(kMimeType_Loop), ToByteArray(data.GetBytes(EClipboardLoopKind::kLux2)));
    const QString path = WriteTransferFile(folder, data);
    if (!path.isEmpty()) {
        const QUrl url = QUrl::fromLocalFile(path);
        mime->setUrls({url});
        mime->setData(QString::fromLatin1(kMimeType_GnomeCopiedFiles), QByteArrayLiteral("copy\n") + url.toEncoded());
    }
    return mime;
}

QString GetLoopTransferFile(ELoopTransfer transfer) { return FolderOf(transfer).fFile; }

void RemoveLoopTransferFiles() {
    for (STransferFolder& folder : gTransferFolders) Remove(folder);
}

bool CopyLoopToClipboard(CQuilletDocument& document, ILoopLengthRequest& lengthRequest) {
    const std::optional<CLoopDataSupplier> data = CopyLoopData(document, lengthRequest);
    if (!data) return false;
    // The clipboard takes the MIME data over.
    QGuiApplication::clipboard()->setMimeData(MakeLoopMimeData(*data, ELoopTransfer::kClipboard).release());
    return true;
}

std::optional<SClipboardLoop> ReadLoopMimeData(const QMimeData& mime) {
    const struct {
        const char* fType;
        EClipboardLoopKind fKind;
    } kOffered[] = {
        {kMimeType_Loop, EClipboardLoopKind::kLux2},
        {kMimeType_Wave, EClipboardLoopKind::kWave},
        {kMimeType_XWave, EClipboardLoopKind::kWave},
    };
    for (const auto& offered : kOffered) {
        const QString type = QString::fromLatin1(offered.fType);
        if (!mime.hasFormat(type)) continue;
        const QByteArray bytes = mime.data(type);
        if (!bytes.isEmpty()) return SClipboardLoop{offered.fKind, ToBytes(bytes)};
    }
    return ReadNamedFile(mime);
}

std::optional<SClipboardLoop> ReadClipboardLoop() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime) return std::nullopt;
    return ReadLoopMimeData(*mime);
}

Qt::DropAction StartLoopDrag(QWidget* source, CQuilletDocument& document, ILoopLengthRequest& lengthRequest) {
    if (!source) throw NSMishap::XStdInvalidArgument("loop drag without a source widget");
    const std::optional<CLoopDataSupplier> data = CopyLoopData(document, lengthRequest);
    if (!data) return Qt::IgnoreAction;
    // The drag owns the MIME data and deletes itself once the drop is done.
    auto* drag = new QDrag(source);
    drag->setMimeData(MakeLoopMimeData(*data, ELoopTransfer::kDrag).release());
    return drag->exec(Qt::CopyAction, Qt::CopyAction);
}

std::unique_ptr<QMimeData> MakeSlicesMimeData(CQuilletDocument& document, const std::vector<int32_t>& slices,
                                              ILoopLengthRequest& lengthRequest) {
    if (slices.empty() || document.GetWaveSample().GetFrameCount() == 0) return nullptr;
    if (!GiveLoopLength(document, lengthRequest)) return nullptr;
    const CSliceSequence& sequence = document.GetSliceSequence();
    std::vector<int32_t> positions;
    for (const int32_t index : slices)
        if (const CSlice* slice = sequence.GetSlice(index)) positions.push_back(slice->GetPosition());
    CExporter exporter(document.GetSequencer(), true, false);
    const std::string name = NameWithoutExtension(document.GetDisplayName());
    SExportOptions options;
    options.fLoopName = name;
    options.fSampleRate = exporter.GetRenderRate();
    options.fBitDepth = exporter.GetBitDepth();
    std::vector<std::pair<QString, QByteArray>> files;
    const std::vector<SPlayListEntry>& planned = exporter.GetPlannedEntries();
    for (size_t i = 0; i < planned.size(); ++i) {
        if (std::find(positions.begin(), positions.end(), planned[i].fStart) == positions.end()) continue;
        COwnedMemoryMedia media;
        CWAVFileFormat().WriteSliceTo(exporter, int32_t(i), media, options, nullptr);
        const std::string fileName = SliceFileName((name.empty() ? std::string("Loop") : name) + ".wav", int(i), ".wav");
        QString safe = QString::fromStdString(fileName);
        safe.replace(QLatin1Char('/'), QLatin1Char('_'));
        if (safe.startsWith(QLatin1Char('.'))) safe.replace(0, 1, QLatin1Char('_'));
        files.emplace_back(safe, QByteArray(reinterpret_cast<const char*>(media.GetBytes()), qsizetype(media.GetSize())));
    }
    if (files.empty()) return nullptr;
    STransferFolder& folder = FolderOf(ELoopTransfer::kDrag);
    Remove(folder);
    auto mime = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    if (WriteTransferFiles(folder, files, urls)) {
        mime->setUrls(urls);
        QByteArray copied = QByteArrayLiteral("copy");
        for (const QUrl& url : urls) copied += QByteArrayLiteral("\n") + url.toEncoded();
        mime->setData(QString::fromLatin1(kMimeType_GnomeCopiedFiles), copied);
    }
    // A single slice also goes to programs that take the sound itself.
    if (files.size() == 1) {
        mime->setData(QString::fromLatin1(kMimeType_Wave), files.front().second);
        mime->setData(QString::fromLatin1(kMimeType_XWave), files.front().second);
    }
    return mime;
}

Qt::DropAction StartSlicesDrag(QWidget* source, CQuilletDocument& document, const std::vector<int32_t>& slices,
                               ILoopLengthRequest& lengthRequest) {
    if (!source) throw NSMishap::XStdInvalidArgument("slice drag without a source widget");
    std::unique_ptr<QMimeData> mime = MakeSlicesMimeData(document, slices, lengthRequest);
    if (!mime) return StartLoopDrag(source, document, lengthRequest);
    auto* drag = new QDrag(source);
    drag->setMimeData(mime.release());
    return drag->exec(Qt::CopyAction, Qt::CopyAction);
}

}  // namespace NSQuillet
