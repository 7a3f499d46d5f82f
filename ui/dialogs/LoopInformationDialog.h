#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace NSQuillet {

class CQuilletDocument;

// "Loop Information" (Get Info): the document's name, sample format and loop length as
// MakeLoopInformationTexts words them, and OK. Changes nothing. User-interface thread.
class CLoopInformationDialog final : public QDialog {
    Q_OBJECT
public:
    explicit CLoopInformationDialog(const CQuilletDocument& document, QWidget* parent = nullptr);

    QLabel* GetTitleLine() const { return fTitle; }
    QLabel* GetSampleFormatLine() const { return fSampleFormat; }
    QLabel* GetLoopLengthLine() const { return fLoopLength; }
    QPushButton* GetOKButton() const { return fOKButton; }

private:
    QLabel* fTitle;
    QLabel* fSampleFormat;
    QLabel* fLoopLength;
    QPushButton* fOKButton;
};

}  // namespace NSQuillet
