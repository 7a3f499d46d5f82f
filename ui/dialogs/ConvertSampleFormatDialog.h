#pragma once

#include <QDialog>

#include <optional>

#include "ui/logic/WindowCommands.h"

class QComboBox;
class QPushButton;

namespace NSQuillet {

// "Convert Sample Format": a sample rate and a bit depth popup starting at the sample's own
// format (ConvertSampleFormatChoices); OK hands the two over, Cancel nothing. User-interface
// thread.
class CConvertSampleFormatDialog final : public QDialog {
    Q_OBJECT
public:
    explicit CConvertSampleFormatDialog(const SSampleFormat& current, QWidget* parent = nullptr);

    // The format the popups show.
    SSampleFormat GetFormat() const;

    QComboBox* GetSampleRatePopup() const { return fSampleRates; }
    QComboBox* GetBitDepthPopup() const { return fBitDepths; }
    QPushButton* GetOKButton() const { return fOKButton; }
    QPushButton* GetCancelButton() const { return fCancelButton; }

    // Modal over `parent`: the format chosen, none when cancelled.
    static std::optional<SSampleFormat> Ask(QWidget* parent, const SSampleFormat& current);

private:
    QComboBox* fSampleRates;
    QComboBox* fBitDepths;
    QPushButton* fOKButton = nullptr;
    QPushButton* fCancelButton = nullptr;
};

}  // namespace NSQuillet
