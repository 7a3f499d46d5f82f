#include "app/application/Quillet.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "app/application/ApplicationShell.h"
#include "app/application/DocumentWindow.h"
#include "app/application/OpenableFileTypes.h"
#include "app/clipboard/PastedLoop.h"
#include "app/document/AudioRendererSuspender.h"
#include "app/document/ScopedAudioSuspension.h"
#include "app/opening/OpeningAnalysis.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/preferences/AudioCardPreferences.h"
#include "app/preferences/Preferences.h"
#include "app/preferences/PreferencesAccess.h"
#include "app/preferences/PreferencesFile.h"
#include "app/resources/AlertIds.h"
#include "app/resources/FailureAlert.h"
#include "app/resources/MenuIds.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "engine/16BitWaveSample.h"
#include "engine/AudioCardManager.h"
#include "engine/SliceSequence.h"
#include "engine/WavePlayer.h"
#include "foundation/Diagnostics.h"

namespace NSQuillet {

namespace {

namespace fs = std::filesystem;

CQuillet* gApplication = nullptr;

// The rate of the empty document's sample.
constexpr uint32_t kEmptyDocumentRate = 44100;

std::string FileNameOf(const std::string& path) { return fs::path(path).filename().string(); }

// The path absolute, its folder with `..` and links resolved, the file's own name kept (a link
// to a file keeps its name); lexically normalised when the folder cannot be resolved.
std::string NormalizedPath(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error) return path;
    if (absolute.has_filename()) {
        const fs::path folder = fs::canonical(absolute.parent_path(), error);
        if (!error) return (folder / absolute.filename()).string();
    }
    return absolute.lexically_normal().string();
}

// The same file: the same device and inode (through links, `..` or another spelling); when
// that cannot be asked (a file gone), the same normalised path.
bool IsSameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    const bool same = fs::equivalent(a, b, error);
    if (!error) return same;
    return NormalizedPath(a) == NormalizedPath(b);
}

bool Exists(const std::string& path) {
    if (path.find('\0') != std::string::npos) return false;
    std::error_code error;
    return fs::exists(path, error) && !error;
}

bool IsRecentCommand(int32_t command) {
    return command >= NSCommandIds::kOpenRecentFirst && command <= NSCommandIds::kOpenRecentLast;
}

bool IsHelpCommand(int32_t command) {
    return command >= NSCommandIds::kOnlineDocumentation && command <= NSCommandIds::kTechInfoAndSupport;
}

// Clears a flag when the scope ends, however it ends.
class CFlagScope {
public:
    explicit CFlagScope(bool& flag) : fFlag(flag) { fFlag = true; }
    ~CFlagScope() { fFlag = false; }
    CFlagScope(const CFlagScope&) = delete;
    CFlagScope& operator=(const CFlagScope&) = delete;

private:
    bool& fFlag;
};

}  // namespace

CQuillet::CQuillet(IApplicationShell& shell, CAudioCardManager& manager, CWavePlayer& player, SHelpAddresses help)
    : fShell(shell), fAudioCardManager(manager), fWavePlayer(player), fHelp(std::move(help)) {
    gApplication = this;
}

CQuillet::~CQuillet() {
    if (fStarted || fPreferences) Stop();
    if (gApplication == this) gApplication = nullptr;
}

CQuillet* CQuillet::Get() { return gApplication; }

void CQuillet::Start() {
    if (fStarted) return;
    fPreferences = std::make_unique<CPreferences>();
    SetPreferences(fPreferences.get());
    fPreferences->GetRecentDocuments().AddListener(this);

    EPreferencesFileReading reading = EPreferencesFileReading::kNotRead;
    RunCommand([&] {
        CAudioCardRestorer restorer(fAudioCardManager);
        reading = ReadPreferencesFileAtStart(*fPreferences, &restorer);
    });
    fFirstRun = reading == EPreferencesFileReading::kFirstRun;
    // A stored device was handed to the restorer, which starts the standard device itself
    // when the stored one cannot be had; otherwise the standard device plays.
    const bool restored = reading == EPreferencesFileReading::kRead && !fPreferences->GetAudioDeviceBlock().IsEmpty();
    if (!restored) RunCommand([this] { fAudioCardManager.StartDefaultDevice(); });
    fStarted = true;
}

void CQuillet::Stop() {
    if (fPreferences) {
        CPreferences& preferences = *fPreferences;
        NSMishap::RunReportingFailure("storing the audio device choice",
                                      [&] { StoreAudioDeviceChoice(fAudioCardManager, preferences); });
        NSMishap::RunReportingFailure("writing the preferences file", [&] {
            if (preferences.IsChanged()) WritePreferencesFile(preferences);
        });
    }
    NSMishap::RunReportingFailure("closing the audio output", [this] { fAudioCardManager.CloseOutput(); });
    if (fPreferences) {
        CPreferences& preferences = *fPreferences;
        NSMishap::RunReportingFailure("leaving the recent documents",
                                      [&] { preferences.GetRecentDocuments().RemoveListener(this); });
        NSMishap::RunReportingFailure("releasing the preferences", [&] {
            if (GetPreferences() == &preferences) SetPreferences(nullptr);
        });
        fPreferences.reset();
    }
    fStarted = false;
}

void CQuillet::StartWithoutFiles() {
    RunCommand([this] { EnsureWindow(); });
}

void CQuillet::OpenPath(const std::string& path) {
    RunCommand([&] { OpenFile(path); });
    RunCommand([this] { EnsureWindow(); });
}

std::string CQuillet::OpenFile(const std::string& path) {
    if (!IsOpenableFilePath(path)) {
        ShowAlert(AlertReference(NSAlertIds::kCannotReadFile).With(FileNameOf(path)));
        return "";
    }
    if (IDocumentWindow* window = FindWindowShowing(path)) {
        window->BringToFront();
        const CQuilletDocument& document = window->GetDocument();
        const std::string shown = document.GetFileSpec()->GetPath();
        AddRecentDocument(shown, document.GetDisplayName());
        return shown;
    }
    const std::string normalized = NormalizedPath(path);
    std::shared_ptr<CQuilletDocument> document;
    {
        CAudioRendererSuspender suspender(fAudioCardManager.GetRenderer());
        const CScopedAudioSuspension suspension(&suspender);
        document = OpenAnalyzedDocument(normalized, EStoppedAnalysis::kKeepSlicesFound, GetDocumentSettings());
    }
    ShowInNewWindow(document);
    AddRecentDocument(normalized, document->GetDisplayName());
    return normalized;
}

IDocumentWindow* CQuillet::FindWindowShowing(const std::string& path) const {
    for (IDocumentWindow* window : fWindows) {
        const CQuilletDocument& document = window->GetDocument();
        if (document.HasFile() && document.GetFileSpec() && IsSameFile(document.GetFileSpec()->GetPath(), path))
            return window;
    }
    return nullptr;
}

void CQuillet::ShowInNewWindow(const std::shared_ptr<CQuilletDocument>& document) {
    // The new window first, so that the application is never left without one.
    IDocumentWindow* window = fShell.CreateDocumentWindow(document);
    if (!window) return;
    fWindows.push_back(window);
    ClosePristineWindows(window);
}

void CQuillet::ClosePristineWindows(const IDocumentWindow* keep) {
    std::vector<IDocumentWindow*> pristine;
    for (IDocumentWindow* window : fWindows) {
        if (window != keep && window->GetDocument().IsPristine()) pristine.push_back(window);
    }
    // Forgotten before they close, so that their closing is no last window closing.
    for (IDocumentWindow* window : pristine) fWindows.erase(std::find(fWindows.begin(), fWindows.end(), window));
    for (IDocumentWindow* window : pristine) window->CloseWithoutAsking();
}

void CQuillet::EnsureWindow() {
    if (!fWindows.empty() || fQuitting) return;
    auto sample = std::make_unique<C16BitWaveSample>(kEmptyDocumentRate, 0, false);
    auto document = std::make_shared<CQuilletDocument>(std::move(sample), true, GetDocumentSettings());
    IDocumentWindow* window = fShell.CreateDocumentWindow(document);
    if (window) fWindows.push_back(window);
}

void CQuillet::AddRecentDocument(const std::string& path, const std::string& displayName) {
    if (fPreferences) fPreferences->GetRecentDocuments().Add(path, displayName);
}

bool CQuillet::IsApplicationCommand(int32_t command) const {
    switch (command) {
        case NSCommandIds::kAbout:
        case NSCommandIds::kQuit:
        case NSCommandIds::kOpen:
        case NSCommandIds::kPaste:
        case NSCommandIds::kPreferences: return true;
        default: return IsRecentCommand(command) || IsHelpCommand(command);
    }
}

bool CQuillet::IsApplicationCommandEnabled(int32_t command) const {
    if (IsRecentCommand(command)) return RecentEntry(command) != nullptr;
    return IsApplicationCommand(command);
}

const SRecentDocument* CQuillet::RecentEntry(int32_t command) const {
    if (!fPreferences || !IsRecentCommand(command)) return nullptr;
    const std::vector<SRecentDocument>& entries = fPreferences->GetRecentDocuments().GetEntries();
    const size_t index = size_t(command - NSCommandIds::kOpenRecentFirst);
    return index < entries.size() ? &entries[index] : nullptr;
}

std::string CQuillet::GetRecentCommandLabel(int32_t command) const {
    const SRecentDocument* entry = RecentEntry(command);
    if (!entry) return "";
    // Entries of the same name are told apart by their folders.
    const std::vector<SRecentDocument>& entries = fPreferences->GetRecentDocuments().GetEntries();
    const bool shared = std::any_of(entries.begin(), entries.end(), [&](const SRecentDocument& other) {
        return &other != entry && other.fDisplayName == entry->fDisplayName;
    });
    if (!shared) return entry->fDisplayName;
    return entry->fDisplayName + " (" + fs::path(entry->fPath).parent_path().string() + ")";
}

void CQuillet::DoApplicationCommand(int32_t command) {
    if (IsRecentCommand(command)) {
        RunCommand([&] { OpenRecent(command); });
        RunCommand([this] { EnsureWindow(); });
        return;
    }
    if (IsHelpCommand(command)) {
        RunCommand([&] { OpenHelpPage(command); });
        return;
    }
    switch (command) {
        case NSCommandIds::kAbout: RunCommand([this] { fShell.ShowAbout(); }); break;
        case NSCommandIds::kOpen: AskAndOpen(); break;
        case NSCommandIds::kPaste:
            RunCommand([this] { PasteAsNewDocument(); });
            RunCommand([this] { EnsureWindow(); });
            break;
        case NSCommandIds::kPreferences: ShowPreferences(); break;
        case NSCommandIds::kQuit: RequestQuit(); break;
        default: break;
    }
}

void CQuillet::AskAndOpen() {
    // A second Open while the dialog shows does nothing.
    if (fOpenDialogShowing) return;
    RunCommand([this] {
        fWavePlayer.Stop();
        std::optional<std::string> chosen;
        {
            const CFlagScope showing(fOpenDialogShowing);
            chosen = fShell.AskFileToOpen(GetRecentFolder());
        }
        if (chosen) OpenFile(*chosen);
    });
    RunCommand([this] { EnsureWindow(); });
}

void CQuillet::OpenRecent(int32_t command) {
    const SRecentDocument* listed = RecentEntry(command);
    if (!listed) return;
    const SRecentDocument entry = *listed;
    if (!Exists(entry.fPath)) {
        fPreferences->GetRecentDocuments().Remove(entry.fPath);
        ShowAlert(FrameworkAlertReference(NSFrameworkAlertIds::kFileSystemObjectNotFound));
        return;
    }
    const std::string listedNow = OpenFile(entry.fPath);
    // Listed under another spelling of its path: one entry for the file.
    if (!listedNow.empty() && listedNow != entry.fPath) fPreferences->GetRecentDocuments().Remove(entry.fPath);
}

void CQuillet::OpenHelpPage(int32_t command) {
    const std::string* address = nullptr;
    switch (command) {
        case NSCommandIds::kOnlineDocumentation: address = &fHelp.fDocumentation; break;
        case NSCommandIds::kHomePage: address = &fHelp.fHomePage; break;
        case NSCommandIds::kLoopsPage: address = &fHelp.fLoopsPage; break;
        case NSCommandIds::kTechInfoAndSupport: address = &fHelp.fSupport; break;
        default: return;
    }
    if (!fShell.OpenWebPage(*address)) ShowAlert(AlertReference(NSAlertIds::kCannotOpenWebPage).With(*address));
}

void CQuillet::ShowPreferences() {
    try {
        fShell.ShowPreferences();
    } catch (const std::exception& failure) {
        // Memory running out for the dialog has the dialog's own alert.
        const std::optional<CResourceReference> alert = ChooseFailureAlert(failure);
        if (alert && *alert == FrameworkAlertReference(NSFrameworkAlertIds::kOutOfMemory)) {
            RunCommand([] { ShowAlert(AlertReference(NSAlertIds::kNoMemoryForWindow)); });
        } else {
            ReportFailure(failure);
        }
    } catch (...) {
        ReportUnknownFailure();
    }
}

void CQuillet::PasteAsNewDocument() {
    const std::optional<SClipboardLoop> loop = fShell.ReadClipboardLoop();
    // Nothing on the clipboard that could become a loop: nothing happens.
    if (!loop) return;
    std::shared_ptr<CQuilletDocument> document;
    {
        CAudioRendererSuspender suspender(fAudioCardManager.GetRenderer());
        const CScopedAudioSuspension suspension(&suspender);
        CQuilletLengthyOperation operation(StringReference(NSStringIds::kOperation_PasteAsNewDocument).GetText());
        document = OpenPastedDocument(*loop, GetDocumentSettings(), operation);
    }
    ShowInNewWindow(document);
}

void CQuillet::RequestQuit() {
    if (fQuitting) return;
    fQuitting = true;
    bool allClosed = false;
    const bool ran = RunCommand([&] {
        fWavePlayer.Stop();
        const std::vector<IDocumentWindow*> windows = fWindows;
        for (IDocumentWindow* window : windows) {
            // A window closed meanwhile by another's conversation is skipped.
            if (std::find(fWindows.begin(), fWindows.end(), window) == fWindows.end()) continue;
            if (!window->RequestClose(true)) return;
        }
        allClosed = true;
        fShell.Quit();
    });
    if (allClosed && ran) return;
    fQuitting = false;
    if (!ran) RunCommand([this] { EnsureWindow(); });
}

void CQuillet::SetActive(bool active) {
    if (!fStarted) return;
    RunCommand([&] {
        if (active) {
            fAudioCardManager.ApplicationActivated();
        } else {
            fAudioCardManager.ApplicationDeactivated();
        }
    });
}

void CQuillet::AudioIdle() {
    if (!fStarted) return;
    RunCommand([&] {
        fWavePlayer.Idle();
        const EAudioOutputProblem problem = fAudioCardManager.Idle();
        if (const auto alert = ChooseAudioOutputAlert(problem, fAudioCardManager.GetProblemDeviceName()))
            ShowAlert(*alert);
    });
}

void CQuillet::WindowClosed(IDocumentWindow* window) {
    const auto at = std::find(fWindows.begin(), fWindows.end(), window);
    if (at != fWindows.end()) fWindows.erase(at);
    if (!fQuitting) RunCommand([this] { EnsureWindow(); });
}

void CQuillet::DocumentSavedAs(const std::string& path, const std::string& displayName) {
    RunCommand([&] { AddRecentDocument(NormalizedPath(path), displayName); });
}

std::string CQuillet::GetRecentFolder() const {
    if (!fPreferences) return "";
    const std::vector<SRecentDocument>& entries = fPreferences->GetRecentDocuments().GetEntries();
    if (entries.empty()) return "";
    return fs::path(entries.front().fPath).parent_path().string();
}

SDocumentSettings CQuillet::GetDocumentSettings() const {
    SDocumentSettings settings;
    if (fPreferences) settings.fDefaultBarsToOne = fPreferences->GetDefaultBarsToOne();
    settings.fAudioCardManager = &fAudioCardManager;
    settings.fWavePlayer = &fWavePlayer;
    return settings;
}

bool CQuillet::RunCommand(const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const std::exception& failure) {
        ReportFailure(failure);
    } catch (...) {
        ReportUnknownFailure();
    }
    return false;
}

void CQuillet::ReportFailure(const std::exception& failure) {
    try {
        const std::optional<CResourceReference> alert = ChooseFailureAlert(failure);
        if (alert) ShowAlert(*alert);
    } catch (...) {
        NSMishap::ReportCaughtFailure("showing the alert of a failure");
    }
}

void CQuillet::ReportUnknownFailure() {
    try {
        ShowAlert(ChooseUnknownFailureAlert());
    } catch (...) {
        NSMishap::ReportCaughtFailure("showing the alert of a failure");
    }
}

void CQuillet::OnRecentlyUsedDocumentsChanged() {
    NSMishap::RunReportingFailure("rebuilding the application menus", [this] { fShell.ApplicationMenusChanged(); });
}

}  // namespace NSQuillet
