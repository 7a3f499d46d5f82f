// quillet-screenshots OUTDIR LOOPFILE [--scale 2]
//
// Pictures of the editor as a user meets it, drawn on Qt's offscreen platform so that anyone can
// look at it without a display: the empty window, LOOPFILE loaded, each menu opened, the close
// conversation, an alert, the About box, the preferences, the Open dialog, the length dialog and
// the progress window, and the five toolbars with every control usable and with their controls
// disabled. With --scale 2 only the loaded window and its toolbars, drawn at twice the pixels, as
// on a HiDPI screen.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/application/DocumentWindow.h"
#include "app/application/Quillet.h"
#include "app/document/QuilletDocument.h"
#include "app/document/SliceEditing.h"
#include "app/preferences/PreferencesAccess.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/resources/ProgramResources.h"
#include "ui/application/EditorApplication.h"
#include "ui/dialogs/AudioPreferencesPage.h"
#include "engine/WavePlayer.h"
#include "app/export/ExportFlow.h"
#include "app/resources/AlertIds.h"
#include "app/resources/MenuIds.h"
#include "app/resources/ResourceReference.h"
#include "formats/export/ExportFileFormats.h"
#include "ui/dialogs/ExportSettingsDialog.h"
#include "ui/dialogs/LengthyOperationWindow.h"
#include "ui/dialogs/NoLengthSpecifiedDialog.h"
#include "ui/dialogs/QuilletOpenDialog.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "ui/logic/waveform/WaveformDetailViewLogic.h"
#include "ui/logic/waveform/WaveformMarkerSlice.h"
#include "ui/toolbars/EnvelopeToolbar.h"
#include "ui/toolbars/EqualizerToolBar.h"
#include "ui/toolbars/SecondToolBar.h"
#include "ui/toolbars/Toolbar.h"
#include "ui/toolbars/TransientToolbar.h"
#include "ui/toolbars/WinTopToolBar.h"
#include "ui/waveform/WaveformDetailView.h"
#include "ui/waveform/WaveformDisplayGroupView.h"
#include "ui/window/QuilletWindow.h"

namespace NSQuillet {
namespace {

class CScreenshots {
public:
    explicit CScreenshots(QString folder) : fFolder(std::move(folder)) {}

    void Save(const QPixmap& picture, const QString& name) {
        const QString path = fFolder + "/" + name + ".png";
        if (!picture.save(path)) {
            std::fprintf(stderr, "quillet-screenshots: cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
        std::printf("%s\n", qPrintable(path));
    }

    // `window` with `popups` (top-level widgets shown over it) drawn where they stand.
    // The offscreen platform draws no window frames: a plain title bar above each window shows
    // its title with the modified mark as a desktop would.
    static QPixmap Framed(QWidget& window) {
        const int bar = window.fontMetrics().height() + 10;
        const QPixmap content = window.grab();
        QPixmap picture(QSize(window.width(), window.height() + bar) * window.devicePixelRatioF());
        picture.setDevicePixelRatio(window.devicePixelRatioF());
        picture.fill(QColor(60, 63, 70));
        QPainter painter(&picture);
        QString title = window.windowTitle();
        title.replace("[*]", window.isWindowModified() ? "*" : "");
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 0, window.width(), bar), Qt::AlignCenter, title);
        painter.drawPixmap(0, bar, content);
        return picture;
    }

    // `window` with `popups` (top-level widgets shown over it) drawn where they stand, each
    // popup that is a window of its own framed.
    static QPixmap Composed(QWidget& window, const std::vector<QWidget*>& popups) {
        const int bar = window.fontMetrics().height() + 10;
        const QPoint origin = window.mapToGlobal(QPoint(0, 0)) - QPoint(0, bar);
        QRect area(QPoint(0, 0), window.size() + QSize(0, bar));
        std::vector<QPixmap> grabs;
        for (QWidget* popup : popups) {
            grabs.push_back(qobject_cast<QMenu*>(popup) ? popup->grab() : Framed(*popup));
            const QPoint at = popup->pos() - origin - (qobject_cast<QMenu*>(popup) ? QPoint() : QPoint(0, bar));
            area |= QRect(at, grabs.back().deviceIndependentSize().toSize());
        }
        QPixmap picture(area.size() * window.devicePixelRatioF());
        picture.setDevicePixelRatio(window.devicePixelRatioF());
        picture.fill(QColor(128, 128, 128));
        QPainter painter(&picture);
        painter.drawPixmap(-area.topLeft(), Framed(window));
        for (size_t i = 0; i < popups.size(); ++i) {
            const QPoint at = popups[i]->pos() - origin - (qobject_cast<QMenu*>(popups[i]) ? QPoint() : QPoint(0, bar));
            painter.drawPixmap(at - area.topLeft(), grabs[i]);
        }
        return picture;
    }

    // Runs `open`, which shows a modal widget, grabs that over `window` and closes it.
    void SaveModal(QWidget& window, const QString& name, const std::function<void()>& open) {
        QTimer::singleShot(300, [&, name] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) {
                std::fprintf(stderr, "quillet-screenshots: no modal window for %s\n", qPrintable(name));
                std::exit(1);
            }
            Save(Composed(window, {modal}), name);
            modal->close();
        });
        open();
    }

private:
    QString fFolder;
};

void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// The loaded loop's waveform at three zoom levels, with slices of every kind, then the stereo
// sample as the sum of its channels. Every change is undone afterwards.
void SaveWaveforms(CScreenshots& shots, QWidget& widget) {
    auto& window = dynamic_cast<CQuilletWindow&>(widget);
    CQuilletDocument& document = window.GetDocument();
    CWaveformDisplayGroupView& waveform = window.GetWaveformView();
    CWaveformDetailViewLogic& logic = waveform.GetDetailView().GetLogic();
    const int32_t frames = document.GetWaveSample().GetFrameCount();

    const SDocumentParameters parameters = document.GetDocumentParameters();
    SDocumentParameters loop = parameters;
    loop.fLeftLocator = frames / 8;
    loop.fRightLocator = frames * 5 / 8;
    document.PerformParametersChange(loop, "Set Loop");
    document.CloseUndoStep();
    CSliceEditing slices(document);
    const CSliceSequence& sequence = document.GetSliceSequence();
    slices.SelectSlice(FindFullSliceIndex(sequence, 4), false);
    slices.SelectSlice(FindFullSliceIndex(sequence, 5), true);
    document.CloseUndoStep();
    slices.ClickWithMuteTool(FindFullSliceIndex(sequence, 2));
    document.CloseUndoStep();
    slices.ClickWithLockTool(FindFullSliceIndex(sequence, 7));
    document.CloseUndoStep();
    const int kChanges = 4;

    waveform.MagnifyToFit();
    Settle();
    shots.Save(CScreenshots::Framed(window), "waveform-whole");
    waveform.MagnifyToFitLoop();
    Settle();
    shots.Save(CScreenshots::Framed(window), "waveform-loop");
    // Around the first slice's attack, zoomed in until single frames stand apart.
    const int32_t around = logic.GetSlices().size() > 1 ? logic.GetSlices()[1].fPosition + 40 : frames / 2;
    while (logic.CanZoomIn() && logic.GetGeometry().FramesPerPixel() > 0.125) logic.ZoomIn(around);
    Settle();
    shots.Save(CScreenshots::Framed(window), "waveform-single-frames");
    waveform.MagnifyToFit();

    if (CPreferences* preferences = GetPreferences()) {
        const bool sum = preferences->GetViewStereoFilesAsSumOfLR();
        preferences->SetViewStereoFilesAsSumOfLR(true);
        Settle();
        shots.Save(CScreenshots::Framed(window), "waveform-stereo-as-sum");
        preferences->SetViewStereoFilesAsSumOfLR(sum);
        Settle();
    }
    for (int i = 0; i < kChanges; ++i) document.Undo();
    Settle();
}

// The document's loop, preview and effects as `change` leaves them, as one step each.
using FSettingsChange = std::function<void(SDocumentParameters&, SEffectParameters&)>;

void ChangeSettings(CQuilletDocument& document, const FSettingsChange& change, int& steps) {
    SDocumentParameters parameters = document.GetDocumentParameters();
    SEffectParameters effects = document.GetEffectParameters();
    change(parameters, effects);
    if (parameters != document.GetDocumentParameters()) {
        document.PerformParametersChange(parameters, "Change Loop Length");
        document.CloseUndoStep();
        ++steps;
    }
    if (effects != document.GetEffectParameters()) {
        document.PerformEffectParametersChange(effects, "Toggle Equalizer On/Off");
        document.CloseUndoStep();
        ++steps;
    }
    Settle();
}

// Each toolbar with every control usable (preview on, a loop length, every effect on) and with
// its controls disabled (no loop length, preview off, effects off); the strip in each of those
// three states alone, and the whole window. Every change is undone afterwards.
void SaveToolbars(CScreenshots& shots, QWidget& widget, const QString& suffix) {
    auto& window = dynamic_cast<CQuilletWindow&>(widget);
    CQuilletDocument& document = window.GetDocument();
    CToolbar& strip = *window.GetToolbar();
    const std::pair<QWidget*, const char*> toolbars[] = {
        {&strip.GetTopToolBar(), "top"},           {&strip.GetSecondToolBar(), "second"},
        {&strip.GetEnvelopeToolbar(), "envelope"}, {&strip.GetTransientToolbar(), "transient"},
        {&strip.GetEqualizerToolBar(), "equalizer"}};
    const auto saveEach = [&](const QString& state) {
        for (const auto& [toolbar, name] : toolbars)
            shots.Save(toolbar->grab(), "toolbar-" + QString(name) + state + suffix);
    };
    int steps = 0;
    const auto everythingOn = [](SDocumentParameters& p, SEffectParameters& e) {
        p.fLoop.SetPreviewOn(true);
        if (!p.fLoop.IsLoopLengthSet()) p.fLoop.SetBars(2);
        p.fEnvelope.fOn = true;
        e.fTransientShaper.fOn = true;
        e.fEqualizer.fOn = true;
    };
    ChangeSettings(document, everythingOn, steps);
    saveEach("");
    if (suffix.isEmpty()) shots.Save(CScreenshots::Framed(window), "loop-window-toolbars");

    if (suffix.isEmpty()) {
        const struct {
            const char* fName;
            FSettingsChange fChange;
        } states[] = {
            {"toolbars-no-loop-length",
             [](SDocumentParameters& p, SEffectParameters&) {
                 p.fLoop.SetBars(0);
                 p.fLoop.SetBeats(0);
             }},
            {"toolbars-preview-off", [](SDocumentParameters& p, SEffectParameters&) { p.fLoop.SetPreviewOn(false); }},
            {"toolbars-effects-off",
             [](SDocumentParameters& p, SEffectParameters& e) {
                 p.fEnvelope.fOn = false;
                 e.fTransientShaper.fOn = false;
                 e.fEqualizer.fOn = false;
             }},
        };
        for (const auto& state : states) {
            int stateSteps = 0;
            ChangeSettings(document, state.fChange, stateSteps);
            shots.Save(strip.grab(), state.fName);
            for (int i = 0; i < stateSteps; ++i) document.Undo();
            Settle();
        }
    }

    ChangeSettings(document, [](SDocumentParameters& p, SEffectParameters& e) {
        p.fLoop.SetBars(0);
        p.fLoop.SetBeats(0);
        p.fLoop.SetPreviewOn(false);
        p.fEnvelope.fOn = false;
        e.fTransientShaper.fOn = false;
        e.fEqualizer.fOn = false;
    }, steps);
    saveEach("-disabled");
    for (int i = 0; i < steps; ++i) document.Undo();
    Settle();
}

QWidget& TopWindow(CQuillet& quillet) { return dynamic_cast<QWidget&>(*quillet.GetWindows().back()); }

// Each menu of the menu bar opened, or only the one titled `only`; the pictures' names end in
// `suffix`.
void SaveMenus(CScreenshots& shots, QWidget& widget, const QString& only = QString(), const QString& suffix = QString()) {
    auto& window = dynamic_cast<QMainWindow&>(widget);
    QMenuBar* bar = window.menuBar();
    for (QAction* action : bar->actions()) {
        QMenu* menu = action->menu();
        if (!menu) continue;
        const QString title = action->text().remove('&').toLower();
        if (!only.isEmpty() && title != only) continue;
        menu->popup(bar->mapToGlobal(bar->actionGeometry(action).bottomLeft()));
        Settle();
        std::vector<QWidget*> popups{menu};
        for (QAction* item : menu->actions()) {
            // The File menu with its Open Recent list open beside it.
            if (item->menu() && item->isEnabled()) {
                item->menu()->popup(menu->mapToGlobal(menu->actionGeometry(item).topRight()));
                Settle();
                popups.push_back(item->menu());
                break;
            }
        }
        shots.Save(CScreenshots::Composed(window, popups), "menu-" + title + suffix);
        for (auto popup = popups.rbegin(); popup != popups.rend(); ++popup) (*popup)->hide();
        Settle();
    }
}

// The Preferences dialog's Audio page on the audio output, and Select Active Channels over it;
// the General page is shown again afterwards.
void SaveAudioPreferences(CScreenshots& shots, CQuilletApplicationShell& shell) {
    CQuilletPreferencesDialog* dialog = shell.GetPreferencesDialog();
    if (!dialog) return;
    QTabWidget* pages = dialog->GetPages();
    const int shown = pages->currentIndex();
    pages->setCurrentWidget(dialog->GetAudioPage());
    dialog->adjustSize();
    Settle();
    shots.Save(CScreenshots::Framed(*dialog), "preferences-audio");
    // The driver popup opened: the devices under their host APIs.
    QComboBox* drivers = dialog->GetAudioPage()->GetDriverPopup();
    drivers->showPopup();
    Settle();
    {
        // A popup list has no frame of its own: drawn plain where it stands over the framed dialog.
        QWidget* list = drivers->view()->window();
        QPixmap picture = CScreenshots::Framed(*dialog);
        const int bar = dialog->fontMetrics().height() + 10;
        QPainter painter(&picture);
        painter.drawPixmap(list->pos() - dialog->mapToGlobal(QPoint(0, 0)) + QPoint(0, bar), list->grab());
        painter.end();
        shots.Save(picture, "preferences-audio-drivers");
    }
    drivers->hidePopup();
    Settle();
    QPushButton* channels = dialog->GetAudioPage()->GetChannelsButton();
    if (channels->isEnabled()) shots.SaveModal(*dialog, "select-active-channels", [channels] { channels->click(); });
    pages->setCurrentIndex(shown);
    Settle();
}

// Runs the event loop until `done` answers true, 5 s at most.
bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 5000) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Clicks the file `name` in the Open dialog's list or detail view, whichever shows.
void ClickFileInOpenDialog(CQuilletOpenDialog& dialog, const QString& name) {
    auto* list = dialog.findChild<QAbstractItemView*>("listView");
    if (auto* details = dialog.findChild<QAbstractItemView*>("treeView"); details && details->isVisible()) list = details;
    QModelIndex file;
    const bool listed = list && WaitFor([&] {
        for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row) {
            const QModelIndex at = list->model()->index(row, 0, list->rootIndex());
            if (at.data().toString() == name) file = at;
        }
        return file.isValid();
    });
    if (!listed) {
        std::fprintf(stderr, "quillet-screenshots: the open dialog does not list %s\n", qPrintable(name));
        std::exit(1);
    }
    // A click focuses the list first; the file name field then takes the selection.
    dialog.activateWindow();
    list->setFocus();
    const QPoint at = list->visualRect(file).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, at, list->viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &click);
    }
}

// A silent 32-bit stereo WAVE file of 4410 frames, which the editor refuses.
void WriteThirtyTwoBitWave(const QString& path) {
    QByteArray bytes;
    const auto u16 = [&](uint16_t v) { bytes.append(char(v & 0xFF)).append(char(v >> 8)); };
    const auto u32 = [&](uint32_t v) { u16(uint16_t(v & 0xFFFF)); u16(uint16_t(v >> 16)); };
    constexpr uint32_t kFrames = 4410;
    constexpr uint32_t kData = kFrames * 8;
    bytes.append("RIFF");
    u32(4 + 24 + 8 + kData);
    bytes.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(2);
    u32(44100);
    u32(44100 * 8);
    u16(8);
    u16(32);
    bytes.append("data");
    u32(kData);
    bytes.append(QByteArray(kData, '\0'));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) std::exit(1);
}

// The Open dialog over a folder of loops: the demo loop clicked in its list and shown in the
// preview pane, then a 32-bit file the pane refuses.
void SaveOpenDialog(CScreenshots& shots, QWidget& window, const QString& loopFolder) {
    WriteThirtyTwoBitWave(loopFolder + "/Hats 32-bit.wav");
    CQuilletOpenDialog dialog(loopFolder, &CWavePlayer::Get(), &window);
    dialog.show();
    CQuilletOpenPreviewPane& pane = *dialog.GetPreviewPane();
    ClickFileInOpenDialog(dialog, "demo-loop.lx2");
    if (!WaitFor([&] { return pane.GetPlayButton()->isEnabled(); })) {
        std::fputs("quillet-screenshots: the preview pane shows nothing\n", stderr);
        std::exit(1);
    }
    Settle();
    shots.Save(CScreenshots::Framed(dialog), "open-dialog");
    ClickFileInOpenDialog(dialog, "Hats 32-bit.wav");
    if (!WaitFor([&] { return !pane.GetMessageLine(0)->text().isEmpty(); })) {
        std::fputs("quillet-screenshots: the preview pane refuses nothing\n", stderr);
        std::exit(1);
    }
    Settle();
    shots.Save(CScreenshots::Framed(dialog), "open-dialog-unsupported");
    dialog.reject();
}

// The dialogs of the Process menu, Get Info and the export, each over the loaded window as its
// command opens it and closed again (Cancel), then the export's settings and questions.
void SaveDialogPictures(CScreenshots& shots, QWidget& widget) {
    auto& window = dynamic_cast<CQuilletWindow&>(widget);
    using namespace NSCommandIds;
    const std::pair<int32_t, const char*> commands[] = {
        {kConvertSampleFormat, "convert-sample-format"}, {kConvertToMono, "convert-to-mono"},
        {kNormalize, "normalize-question"},              {kGetInfo, "loop-information"},
        {kExport, "export-save-dialog"}};
    for (const auto& [command, name] : commands)
        shots.SaveModal(window, name, [&window, command = command] { window.DoCommand(command); });

    const std::unique_ptr<CABCExportFileFormat> wave = MakeExportFileFormat(EExportFormat::kWave);
    const CABCWaveSample& sample = window.GetDocument().GetWaveSample();
    shots.SaveModal(window, "export-settings", [&] {
        const SExportSettings proposed =
            ProposeExportSettings(*wave, SExportSettings{}, sample.GetSampleRate(), sample.GetBitDepth());
        CExportSettingsDialog dialog(*wave, proposed, &window);
        dialog.exec();
    });
    // The questions as the export asks them: 100 slices for a format of 92, a slice file there.
    shots.SaveModal(window, "export-too-many-slices",
                    [] { ShowAlert(AlertReference(NSAlertIds::kTooManySlices).With("100", "92", "92")); });
    shots.SaveModal(window, "export-replace-question",
                    [] { ShowAlert(AlertReference(NSAlertIds::kSliceFileExists).With("demo-loop 001.wav")); });
    shots.SaveModal(window, "export-nothing-to-export",
                    [] { ShowAlert(AlertReference(NSAlertIds::kNothingToExport)); });
}

int Run(const QString& folder, const QString& loopFile, bool doubleScale) {
    CProgramResources::Get();
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.filePath("runtime")));
    qputenv("QUILLET_AUDIO_DEVICE", "null");
    QDir().mkpath(home.filePath("runtime"));
    QFile::setPermissions(home.filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir().mkpath(folder);
    CScreenshots shots(folder);

    CEditorApplication editor;
    CQuillet& quillet = editor.GetApplication();
    CQuilletApplicationShell& shell = editor.GetShell();
    quillet.Start();
    quillet.StartWithoutFiles();
    Settle();

    // A second loop, opened first, so that Open Recent lists two.
    const QString second = home.filePath("Second Loop.lx2");
    QFile::copy(loopFile, second);
    if (!doubleScale) {
        shots.Save(CScreenshots::Framed(TopWindow(quillet)), "empty-window");
        quillet.OpenPath(QFile::encodeName(second).toStdString());
    }
    quillet.OpenPath(QFile::encodeName(loopFile).toStdString());
    Settle();
    QWidget& window = TopWindow(quillet);
    window.resize(1000, 640);
    Settle();
    if (doubleScale) {
        shots.Save(CScreenshots::Framed(window), "loop-window@2x");
        SaveToolbars(shots, window, "@2x");
    } else {
        shots.Save(CScreenshots::Framed(window), "loop-window");
        SaveToolbars(shots, window, "");
        SaveWaveforms(shots, window);
        SaveMenus(shots, window);

        // A change, then the close conversation, answered Cancel.
        CQuilletDocument& document = quillet.GetWindows().back()->GetDocument();
        SDocumentParameters parameters = document.GetDocumentParameters();
        parameters.fPitch = 200;
        document.PerformParametersChange(parameters, "Change Pitch");
        document.CloseUndoStep();
        Settle();
        shots.Save(CScreenshots::Framed(window), "loop-window-changed");
        SaveMenus(shots, window, "edit", "-after-a-change");
        shots.SaveModal(window, "close-conversation", [&] { quillet.GetWindows().back()->RequestClose(false); });

        const QString unknown = home.filePath("notes.txt");
        QFile(unknown).open(QIODevice::WriteOnly);
        shots.SaveModal(window, "alert-cannot-read-file",
                        [&] { quillet.OpenPath(QFile::encodeName(unknown).toStdString()); });

        shell.ShowAbout();
        Settle();
        shots.Save(CScreenshots::Framed(*shell.GetAboutDialog()), "about");
        shell.ShowPreferences();
        Settle();
        shots.Save(CScreenshots::Framed(*shell.GetPreferencesDialog()), "preferences");
        SaveAudioPreferences(shots, shell);

        const QString loops = home.filePath("Loops");
        QDir().mkpath(loops);
        QFile::copy(loopFile, loops + "/demo-loop.lx2");
        QFile::copy(loopFile, loops + "/Second Loop.lx2");
        SaveOpenDialog(shots, window, loops);
        SaveDialogPictures(shots, window);

        CNoLengthSpecifiedDialog length(&window);
        length.show();
        Settle();
        shots.Save(CScreenshots::Framed(length), "length-dialog");
        length.hide();

        CQuilletLengthyOperation operation("Save");
        CLengthyOperationDialog progressWindow(operation, "Save", true, &window);
        progressWindow.SetProgressText("Writing loop file…");
        progressWindow.SetProgress(420);
        progressWindow.show();
        Settle();
        shots.Save(CScreenshots::Framed(progressWindow), "progress-window");
        progressWindow.hide();
        shell.CloseDialogs();
        // Back to the saved state, so that quitting asks nothing.
        document.Undo();
    }

    quillet.RequestQuit();
    Settle();
    return 0;
}

}  // namespace
}  // namespace NSQuillet

int main(int argc, char** argv) {
    const bool doubleScale = argc == 5 && std::string(argv[3]) == "--scale" && std::string(argv[4]) == "2";
    if (argc != 3 && !doubleScale) {
        std::fputs("usage: quillet-screenshots OUTDIR LOOPFILE [--scale 2]\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (doubleScale) qputenv("QT_SCALE_FACTOR", "2");
    QApplication application(argc, argv);
    // Qt takes the user's locale for the C library too; the program's texts and files write
    // numbers with a point.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);
    return NSQuillet::Run(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]), doubleScale);
}
