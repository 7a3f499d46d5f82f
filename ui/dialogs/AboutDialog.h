#pragma once

#include <QDialog>

namespace NSQuillet {

// The modeless About box: the program's name, its version and what it does. Closing it
// destroys it.
class CAboutDialog final : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget* parent = nullptr);
};

}  // namespace NSQuillet
