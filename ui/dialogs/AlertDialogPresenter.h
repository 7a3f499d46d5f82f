#pragma once

#include <cstdint>

#include "app/resources/Alert.h"

class QMessageBox;

namespace NSQuillet {

// Shows alerts as modal message boxes: the kind as the icon, the heading as the text and the
// body below it (the body alone when there is no heading), the buttons left to right in the
// alert's order on every desktop, Esc pressing Cancel or No (or the only button). The window
// title is the program's name. User-interface thread; blocks until a button is pressed.
class CAlertDialogPresenter final : public IAlertPresenter {
public:
    int32_t Present(const SAlert& alert) override;
};

}  // namespace NSQuillet
