#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/application/WindowApplication.h"
#include "app/resources/FailureAlert.h"
#include "app/resources/MenuIds.h"
#include "app/resources/ResourceReference.h"

namespace NSQuilletTest {

// The application as the window sees it: records what it is told; failures of a command get
// the alert the program's failure-to-alert choice gives.
class CFakeApplication final : public NSQuillet::IWindowApplication {
public:
    bool IsApplicationCommand(int32_t command) const override { return kApplicationCommands.count(command) == 1; }
    bool IsApplicationCommandEnabled(int32_t) const override { return true; }
    std::string GetRecentCommandLabel(int32_t) const override { return ""; }
    void DoApplicationCommand(int32_t command) override { fCommands.push_back(command); }
    void OpenPath(const std::string& path) override { fOpened.push_back(path); }
    const std::vector<NSQuillet::IDocumentWindow*>& GetWindows() const override { return fWindows; }
    void WindowClosed(NSQuillet::IDocumentWindow* window) override { fClosed.push_back(window); }
    void DocumentSavedAs(const std::string& path, const std::string&) override { fSavedAs.push_back(path); }
    std::string GetRecentFolder() const override { return fRecentFolder; }
    bool RunCommand(const std::function<void()>& command) override {
        try {
            command();
            return true;
        } catch (const std::exception& failure) {
            if (const std::optional<NSQuillet::CResourceReference> alert = NSQuillet::ChooseFailureAlert(failure))
                NSQuillet::ShowAlert(*alert);
            return false;
        }
    }
    void RequestQuit() override {}
    bool IsQuitting() const override { return false; }

    const std::set<int32_t> kApplicationCommands = {NSQuillet::NSCommandIds::kAbout,
                                                    NSQuillet::NSCommandIds::kQuit,
                                                    NSQuillet::NSCommandIds::kOpen,
                                                    NSQuillet::NSCommandIds::kPaste,
                                                    NSQuillet::NSCommandIds::kPreferences,
                                                    NSQuillet::NSCommandIds::kOnlineDocumentation,
                                                    NSQuillet::NSCommandIds::kHomePage,
                                                    NSQuillet::NSCommandIds::kLoopsPage,
                                                    NSQuillet::NSCommandIds::kTechInfoAndSupport};
    std::vector<int32_t> fCommands;
    std::vector<std::string> fOpened;
    std::vector<NSQuillet::IDocumentWindow*> fWindows;
    std::vector<NSQuillet::IDocumentWindow*> fClosed;
    std::vector<std::string> fSavedAs;
    std::string fRecentFolder;
};

}  // namespace NSQuilletTest
