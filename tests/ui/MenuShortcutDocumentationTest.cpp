// The README's table of the menus' shortcuts against the shortcuts of a window's menu bar.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "app/document/QuilletDocument.h"
#include "tests/support/LoopDocumentFixture.h"
#include "tests/ui/FakeWindowApplication.h"
#include "ui/window/QuilletWindow.h"

namespace NSQuillet {
namespace {

std::string WithoutAccessKey(QString text) { return text.remove('&').toStdString(); }

std::string Trimmed(const std::string& text) {
    const size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) return "";
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

// "shortcut -> Menu > Item" of the README's "| shortcut | menu command |" table.
std::map<std::string, std::string> ReadmeShortcuts(const std::string& path) {
    std::ifstream file(path);
    EXPECT_TRUE(file) << path;
    std::map<std::string, std::string> shortcuts;
    std::string line;
    while (std::getline(file, line) && line != "| shortcut | menu command |") {
    }
    std::getline(file, line);
    while (std::getline(file, line) && !line.empty() && line[0] == '|') {
        const size_t middle = line.find('|', 1);
        const std::string keys = Trimmed(line.substr(1, middle - 1));
        EXPECT_TRUE(shortcuts.emplace(keys, Trimmed(line.substr(middle + 1, line.rfind('|') - middle - 1))).second)
            << keys << " twice";
    }
    return shortcuts;
}

void CollectShortcuts(const QMenu& menu, const std::string& path, std::map<std::string, std::string>& shortcuts) {
    for (QAction* action : menu.actions()) {
        const std::string name = path + " > " + WithoutAccessKey(action->text());
        if (action->menu()) CollectShortcuts(*action->menu(), name, shortcuts);
        if (action->shortcut().isEmpty()) continue;
        const std::string keys = action->shortcut().toString(QKeySequence::PortableText).toStdString();
        EXPECT_TRUE(shortcuts.emplace(keys, name).second) << keys << " on two items";
    }
}

TEST(MenuShortcutDocumentation, TheReadmeTableListsEveryShortcutOfTheMenus) {
    NSQuilletTest::CFakeApplication application;
    auto document = std::make_shared<CQuilletDocument>(NSQuilletTest::MakeSample(16, 1, 0), true, SDocumentSettings{});
    const std::unique_ptr<CQuilletWindow> window = std::make_unique<CQuilletWindow>(application, document);
    application.fWindows = {window.get()};

    std::map<std::string, std::string> shortcuts;
    for (QAction* title : window->menuBar()->actions()) {
        if (title->menu()) CollectShortcuts(*title->menu(), WithoutAccessKey(title->text()), shortcuts);
    }
    ASSERT_FALSE(shortcuts.empty());
    EXPECT_EQ(ReadmeShortcuts(std::string(QUILLET_SOURCE_DIR) + "/README.md"), shortcuts);
}

}  // namespace
}  // namespace NSQuillet
