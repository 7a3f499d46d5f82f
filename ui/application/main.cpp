#include "ui/application/EditorMain.h"

int main(int argc, char** argv) { return NSQuillet::RunEditor(argc, argv, NSQuillet::SEditorParts{}); }
