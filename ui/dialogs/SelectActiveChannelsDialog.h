#pragma once

#include <QDialog>

#include <cstdint>

class QListWidget;
class QPushButton;

namespace NSQuillet {

// Select Active Channels: a scrolling list of the device's output channels, a check box each
// ("1 / Left", "2 / Right", …). OK, enabled while at least one is checked, hands the checked
// ones to the caller; Cancel leaves them. Modal over the Audio page.
class CSelectActiveChannelsDialog final : public QDialog {
    Q_OBJECT
public:
    // Bit n of `activeChannels`: channel n is checked; only the first `channelCount` are listed.
    CSelectActiveChannelsDialog(int32_t channelCount, uint64_t activeChannels, QWidget* parent = nullptr);

    // The checked channels, bit n for channel n.
    uint64_t GetActiveChannels() const;

    QListWidget* GetList() const { return fList; }
    QPushButton* GetOKButton() const { return fOKButton; }
    QPushButton* GetCancelButton() const { return fCancelButton; }

private:
    QListWidget* fList;
    QPushButton* fOKButton;
    QPushButton* fCancelButton;
};

}  // namespace NSQuillet
