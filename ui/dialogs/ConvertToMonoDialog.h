#pragma once

#include <QDialog>

#include <optional>

#include "app/processing/ConvertToMonoCommand.h"

class QButtonGroup;
class QPushButton;
class QRadioButton;

namespace NSQuillet {

// "Convert to Mono": the group "Use Channel" with Left, Right and Mix Left+Right, exactly one
// of them chosen at any time, starting at `proposed` (Mix when that is none of the three).
// User-interface thread.
class CConvertToMonoDialog final : public QDialog {
    Q_OBJECT
public:
    explicit CConvertToMonoDialog(EMonoChoice proposed, QWidget* parent = nullptr);

    EMonoChoice GetChoice() const;

    QRadioButton* GetChoiceButton(EMonoChoice choice) const;
    QPushButton* GetOKButton() const { return fOKButton; }
    QPushButton* GetCancelButton() const { return fCancelButton; }

    // Modal over `parent`: the channel choice, none when cancelled.
    static std::optional<EMonoChoice> Ask(QWidget* parent, EMonoChoice proposed);

private:
    QButtonGroup* fChoices;
    QPushButton* fOKButton = nullptr;
    QPushButton* fCancelButton = nullptr;
};

}  // namespace NSQuillet
