#include "ui/application/EditorMain.h"

#include <QApplication>
#include <QLabel>

#include <cstdio>
#include <cstdlib>

#include "ui/logic/DisplayEnvironment.h"

namespace NSQuillet {

int RunEditor(int argc, char** argv) {
    if (!HasDisplayEnvironment([](const char* name) { return std::getenv(name); })) {
        std::fputs(NoDisplayMessage().c_str(), stderr);
        return 1;
    }
    QApplication application(argc, argv);
    QLabel window("Quillet");
    window.show();
    return application.exec();
}

}  // namespace NSQuillet
