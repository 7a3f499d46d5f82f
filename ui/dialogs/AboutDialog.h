#pragma once

#include <QDialog>

class QLabel;

namespace NSQuillet {

// The modeless About box: the skin's banner, the application icon beside the version text
// "^0 (build ^1)" and what the program does, then the libraries it is built on with their
// licences. Closing it destroys it.
class CAboutDialog final : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget* parent = nullptr);

    QLabel* GetVersionLabel() const { return fVersion; }
    QLabel* GetIconLabel() const { return fIcon; }

private:
    QLabel* fVersion;
    QLabel* fIcon;
};

}  // namespace NSQuillet
