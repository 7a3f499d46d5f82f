#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <string>

#include "ui/logic/SampleFormatChoices.h"

class QBoxLayout;
class QComboBox;
class QDialog;
class QPushButton;

namespace NSQuillet {

// The pieces the program's small modal dialogs share. User-interface thread.

// Entry `entry` of the program's string table.
QString DialogText(int32_t entry);

// Fills `popup` with `choices`, each item holding its value, and selects the proposed one.
void FillChoicePopup(QComboBox& popup, const SChoiceList<uint32_t>& choices,
                     const std::function<std::string(uint32_t)>& text);
void FillChoicePopup(QComboBox& popup, const SChoiceList<int32_t>& choices,
                     const std::function<std::string(int32_t)>& text);

struct SOKCancelButtons {
    QPushButton* fOK = nullptr;
    QPushButton* fCancel = nullptr;
};

// OK (the default button, accepts) and Cancel (rejects, and Esc) at the foot of `layout`.
SOKCancelButtons AddOKCancelButtons(QDialog& dialog, QBoxLayout& layout);

// A dialog of the program: no context help button, the size its contents need.
void PrepareModalDialog(QDialog& dialog, const QString& title);

}  // namespace NSQuillet
