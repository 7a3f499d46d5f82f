#include "ui/application/EditorWindows.h"

#include <memory>

#include "app/application/WindowApplication.h"
#include "ui/application/QuilletApplicationShell.h"
#include "ui/window/QuilletWindow.h"

namespace NSQuillet {

void UseEditorWindows(CQuilletApplicationShell& shell, IWindowApplication& application) {
    shell.SetWindowFactory([&shell, &application](std::shared_ptr<CQuilletDocument> document) -> IDocumentWindow* {
        auto* window = new CQuilletWindow(application, std::move(document));
        QObject::connect(&shell, &CQuilletApplicationShell::applicationMenusChanged, window,
                         &CQuilletWindow::UpdateCommandStates);
        window->show();
        return window;
    });
}

}  // namespace NSQuillet
