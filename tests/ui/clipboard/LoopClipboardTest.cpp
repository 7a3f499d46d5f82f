#include <gtest/gtest.h>

#include <QByteArray>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/clipboard/LoopDataSupplier.h"
#include "app/document/QuilletDocument.h"
#include "app/document/SliceEditing.h"
#include "engine/Exporter.h"
#include "formats/export/ExportFileFormat.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "formats/soundfile/WAVFileFormat.h"
#include "ui/logic/waveform/WaveformMarkerSlice.h"
#include "engine/SliceSequence.h"
#include "tests/support/DemoLoopDocument.h"
#include "tests/support/LoopDocumentFixture.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/ScriptedLoopLengthRequest.h"
#include "tests/support/TemporaryFolder.h"
#include "ui/clipboard/LoopClipboard.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::CScopedEnvironmentVariable;
using NSQuilletTest::CScriptedLoopLengthRequest;
using NSQuilletTest::CTemporaryFolder;
using NSQuilletTest::MakeDemoLoopDocument;

QByteArray ToByteArray(const std::vector<uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class CLoopClipboardFixture : public ::testing::Test {
protected:
    ~CLoopClipboardFixture() override {
        RemoveLoopTransferFiles();
        QGuiApplication::clipboard()->clear();
    }

    CLoopDataSupplier Render(CQuilletDocument& document) {
        std::optional<CLoopDataSupplier> data = CopyLoopData(document, fLengthRequest);
        EXPECT_TRUE(data);
        return *data;
    }

    CTemporaryFolder fRuntime;
    CScopedEnvironmentVariable fRuntimeVariable{"XDG_RUNTIME_DIR", fRuntime.Path()};
    CScriptedLoopLengthRequest fLengthRequest;
};

TEST_F(CLoopClipboardFixture, CopyOffersEveryKindAndATemporaryWaveFile) {
    auto document = MakeDemoLoopDocument();
    const CLoopDataSupplier expected = Render(*document);
    ASSERT_TRUE(CopyLoopToClipboard(*document, fLengthRequest));

    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    const QByteArray wave = ToByteArray(expected.GetBytes(EClipboardLoopKind::kWave));
    ASSERT_GT(wave.size(), 151200 * 4);
    const struct {
        const char* fType;
        QByteArray fBytes;
    } kKinds[] = {
        {"audio/wav", wave},
        {"audio/x-wav", wave},
        {"audio/midi", ToByteArray(expected.GetBytes(EClipboardLoopKind::kMidi))},
        {"application/x-quillet-loop", ToByteArray(expected.GetBytes(EClipboardLoopKind::kLux2))},
    };
    for (const auto& kind : kKinds) {
        ASSERT_TRUE(mime->hasFormat(kind.fType)) << kind.fType;
        EXPECT_TRUE(mime->data(kind.fType) == kind.fBytes) << kind.fType;
    }

    ASSERT_TRUE(mime->hasFormat("text/uri-list"));
    ASSERT_EQ(mime->urls().size(), 1);
    const QUrl url = mime->urls().front();
    ASSERT_TRUE(url.isLocalFile());
    const QFileInfo file(url.toLocalFile());
    EXPECT_EQ(file.fileName(), QStringLiteral("Untitled.wav"));
    // A private folder of its own in the runtime folder.
    EXPECT_EQ(QFileInfo(file.absolutePath()).absolutePath(), QDir(QString::fromStdString(fRuntime.Path())).absolutePath());
    EXPECT_EQ(file.dir().entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{QStringLiteral("Untitled.wav")});
    EXPECT_TRUE(ReadFile(file.absoluteFilePath()) == wave);
    ASSERT_TRUE(mime->hasFormat("x-special/gnome-copied-files"));
    EXPECT_EQ(QString::fromUtf8(mime->data("x-special/gnome-copied-files")),
              QStringLiteral("copy\nfile://") + file.absoluteFilePath());
}

TEST_F(CLoopClipboardFixture, EachCopyReplacesTheLastFileAndStopRemovesIt) {
    auto document = MakeDemoLoopDocument();
    ASSERT_TRUE(CopyLoopToClipboard(*document, fLengthRequest));
    const QString first = GetLoopTransferFile(ELoopTransfer::kClipboard);
    ASSERT_TRUE(QFileInfo::exists(first));
    const QString firstFolder = QFileInfo(first).absolutePath();

    // A drag keeps its own file, which the clipboard's does not replace.
    const std::unique_ptr<QMimeData> dragged = MakeLoopMimeData(Render(*document), ELoopTransfer::kDrag);
    const QString draggedFile = GetLoopTransferFile(ELoopTransfer::kDrag);
    ASSERT_EQ(dragged->urls().size(), 1);
    EXPECT_EQ(dragged->urls().front().toLocalFile(), draggedFile);
    EXPECT_NE(QFileInfo(draggedFile).absolutePath(), firstFolder);

    // Saved under a name that a URL must escape, the loop's file takes the new name.
    CTemporaryFolder saved;
    NSQuilletTest::SaveAs(*document, saved.PathOf("My Drums.lx2"));
    ASSERT_TRUE(CopyLoopToClipboard(*document, fLengthRequest));
    const QString second = GetLoopTransferFile(ELoopTransfer::kClipboard);
    EXPECT_EQ(QFileInfo(second).fileName(), QStringLiteral("My Drums.wav"));
    EXPECT_TRUE(QString::fromUtf8(QGuiApplication::clipboard()->mimeData()->data("x-special/gnome-copied-files"))
                    .endsWith(QStringLiteral("/My%20Drums.wav")));
    EXPECT_FALSE(QFileInfo::exists(first));
    EXPECT_FALSE(QFileInfo::exists(firstFolder));
    EXPECT_TRUE(QFileInfo::exists(second));
    EXPECT_TRUE(QFileInfo::exists(draggedFile));
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->urls().front().toLocalFile(), second);

    RemoveLoopTransferFiles();
    EXPECT_FALSE(QFileInfo::exists(second));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(second).absolutePath()));
    EXPECT_FALSE(QFileInfo::exists(draggedFile));
    EXPECT_EQ(fRuntime.CountEntries(), 0u);
}

TEST_F(CLoopClipboardFixture, ADeclinedLengthLeavesTheClipboardAlone) {
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    auto document = MakeDemoLoopDocument(0);
    EXPECT_FALSE(CopyLoopToClipboard(*document, fLengthRequest));
    EXPECT_EQ(fLengthRequest.fRequests, 1);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasFormat("audio/wav"));
    EXPECT_TRUE(GetLoopTransferFile(ELoopTransfer::kClipboard).isEmpty());
    EXPECT_EQ(fRuntime.CountEntries(), 0u);
}

TEST_F(CLoopClipboardFixture, PasteReadsTheLoopKindFirst) {
    auto document = MakeDemoLoopDocument();
    const CLoopDataSupplier expected = Render(*document);
    ASSERT_TRUE(CopyLoopToClipboard(*document, fLengthRequest));
    const std::optional<SClipboardLoop> pasted = ReadClipboardLoop();
    ASSERT_TRUE(pasted);
    EXPECT_EQ(pasted->fKind, EClipboardLoopKind::kLux2);
    EXPECT_TRUE(pasted->fBytes == expected.GetBytes(EClipboardLoopKind::kLux2));
}

TEST(LoopMimeData, ChoosesTheKindToPaste) {
    CTemporaryFolder folder;
    const std::string loopFile = folder.Make("drums.LX2", "loop file");
    const std::string waveFile = folder.Make("drums.wav", "wave file");
    const std::string textFile = folder.Make("drums.txt", "text");
    const auto urlOf = [](const std::string& path) { return QUrl::fromLocalFile(QString::fromStdString(path)); };
    const auto bytes = [](const char* text) { return std::vector<uint8_t>(text, text + std::char_traits<char>::length(text)); };

    struct SCase {
        const char* fName;
        std::vector<std::pair<const char*, QByteArray>> fData;
        QList<QUrl> fUrls;
        std::optional<EClipboardLoopKind> fKind;
        std::vector<uint8_t> fBytes;
    };
    const SCase kCases[] = {
        {"loop before wave and file", {{"application/x-quillet-loop", "L"}, {"audio/wav", "W"}}, {urlOf(waveFile)},
         EClipboardLoopKind::kLux2, bytes("L")},
        {"wave before file", {{"audio/wav", "W"}}, {urlOf(loopFile)}, EClipboardLoopKind::kWave, bytes("W")},
        {"x-wav", {{"audio/x-wav", "X"}}, {}, EClipboardLoopKind::kWave, bytes("X")},
        {"empty loop kind passes on", {{"application/x-quillet-loop", ""}, {"audio/wav", "W"}}, {},
         EClipboardLoopKind::kWave, bytes("W")},
        {"loop file", {}, {urlOf(loopFile)}, EClipboardLoopKind::kLux2, bytes("loop file")},
        {"wave file", {}, {urlOf(waveFile)}, EClipboardLoopKind::kWave, bytes("wave file")},
        {"MIDI alone", {{"audio/midi", "M"}}, {}, std::nullopt, {}},
        {"other file", {}, {urlOf(textFile)}, std::nullopt, {}},
        {"two files", {}, {urlOf(waveFile), urlOf(loopFile)}, std::nullopt, {}},
        {"missing file", {}, {urlOf(folder.PathOf("gone.wav"))}, std::nullopt, {}},
        {"remote file", {}, {QUrl(QStringLiteral("https://example.com/drums.wav"))}, std::nullopt, {}},
        {"text", {{"text/plain", "drums.wav"}}, {}, std::nullopt, {}},
    };
    for (const SCase& test : kCases) {
        SCOPED_TRACE(test.fName);
        QMimeData mime;
        for (const auto& [type, data] : test.fData) mime.setData(QString::fromLatin1(type), data);
        if (!test.fUrls.isEmpty()) mime.setUrls(test.fUrls);
        const std::optional<SClipboardLoop> loop = ReadLoopMimeData(mime);
        ASSERT_EQ(loop.has_value(), test.fKind.has_value());
        if (!loop) continue;
        EXPECT_EQ(loop->fKind, *test.fKind);
        EXPECT_EQ(loop->fBytes, test.fBytes);
    }
}

TEST_F(CLoopClipboardFixture, DraggedSlicesAreOneWaveFileEachAsTheSliceExportRendersThem) {
    auto document = MakeDemoLoopDocument();
    const CSliceSequence& sequence = document->GetSliceSequence();
    const int32_t third = FindFullSliceIndex(sequence, 2);
    const int32_t fourth = FindFullSliceIndex(sequence, 3);
    const std::unique_ptr<QMimeData> mime = MakeSlicesMimeData(*document, {fourth, third}, fLengthRequest);
    ASSERT_NE(mime, nullptr);
    const QList<QUrl> urls = mime->urls();
    ASSERT_EQ(urls.size(), 2);
    // Numbered from 1 in the loop's order, as the export names slice files.
    EXPECT_EQ(QFileInfo(urls[0].toLocalFile()).fileName(), "Untitled 003.wav");
    EXPECT_EQ(QFileInfo(urls[1].toLocalFile()).fileName(), "Untitled 004.wav");
    EXPECT_EQ(GetLoopTransferFile(ELoopTransfer::kDrag), urls[0].toLocalFile());
    EXPECT_FALSE(mime->hasFormat(kMimeType_Wave));
    CExporter exporter(document->GetSequencer(), true, false);
    SExportOptions options;
    options.fSampleRate = exporter.GetRenderRate();
    options.fBitDepth = exporter.GetBitDepth();
    options.fLoopName = "Untitled";
    for (int32_t i = 0; i < 2; ++i) {
        COwnedMemoryMedia media;
        CWAVFileFormat().WriteSliceTo(exporter, 2 + i, media, options, nullptr);
        const QByteArray file = ReadFile(urls[i].toLocalFile());
        EXPECT_TRUE(file.startsWith("RIFF"));
        EXPECT_EQ(file, QByteArray(reinterpret_cast<const char*>(media.GetBytes()), qsizetype(media.GetSize()))) << i;
    }
}

TEST_F(CLoopClipboardFixture, DraggedSlicesThatDoNotSoundGiveNothing) {
    auto document = MakeDemoLoopDocument();
    const int32_t third = FindFullSliceIndex(document->GetSliceSequence(), 2);
    CSliceEditing(*document).ClickWithMuteTool(third);
    EXPECT_EQ(MakeSlicesMimeData(*document, {third}, fLengthRequest), nullptr);
    EXPECT_EQ(MakeSlicesMimeData(*document, {}, fLengthRequest), nullptr);
    EXPECT_TRUE(GetLoopTransferFile(ELoopTransfer::kDrag).isEmpty());
}

}  // namespace
}  // namespace NSQuillet
