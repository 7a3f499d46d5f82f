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

#include <string>
#include <vector>

#include "app/clipboard/LoopDataSupplier.h"
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

}  // namespace NSQuillet
