#include "ui/dialogs/AlertDialogPresenter.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <optional>
#include <string>
#include <vector>

#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "ui/logic/AlertButtons.h"

namespace NSQuillet {

namespace {

QMessageBox::Icon IconOfKind(EAlertKind kind) {
    switch (kind) {
        case EAlertKind::kStop:
            return QMessageBox::Critical;
        case EAlertKind::kWarn:
            return QMessageBox::Warning;
        case EAlertKind::kNote:
            break;
    }
    return QMessageBox::Information;
}

QString DisplayText(const std::string& text) { return QString::fromStdString(AlertDisplayText(text)); }

}  // namespace

int32_t CAlertDialogPresenter::Present(const SAlert& alert) {
    // An alert without buttons still needs one to be dismissed.
    std::vector<std::string> titles = alert.fButtons;
    if (titles.empty()) titles.push_back("OK");

    QMessageBox box(IconOfKind(alert.fKind), QString::fromStdString(StringReference(NSStringIds::kProgramName).GetText()),
                    QString(), QMessageBox::NoButton, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    if (alert.fHeading.empty()) {
        box.setText(DisplayText(alert.fBody));
    } else {
        box.setText(DisplayText(alert.fHeading));
        box.setInformativeText(DisplayText(alert.fBody));
        // The heading reads first, as the desktops set a message box's primary text.
        if (auto* heading = box.findChild<QLabel*>("qt_msgbox_label")) {
            QFont font = heading->font();
            font.setBold(true);
            heading->setFont(font);
        }
    }
    // Under a heading the body is as narrow as the heading allows; a sentence broken every
    // three words reads badly, so it takes at least forty characters' width. The primary text
    // keeps its own sizing: a minimum width there would stand for the whole text's width, and
    // the box would then show a long body on one line, cut at that width.
    if (!alert.fHeading.empty()) {
        if (auto* body = box.findChild<QLabel*>("qt_msgbox_informativelabel"))
            body->setMinimumWidth(body->fontMetrics().averageCharWidth() * 40);
    }

    // One role for all: the button box orders buttons of different roles by the desktop's
    // convention, and within the action role it keeps the order they were added in.
    std::vector<QPushButton*> buttons;
    for (const std::string& title : titles)
        buttons.push_back(box.addButton(QString::fromStdString(AlertButtonLabel(title)), QMessageBox::ActionRole));
    if (const std::optional<size_t> escape = AlertEscapeButton(titles)) box.setEscapeButton(buttons[*escape]);
    box.setDefaultButton(buttons.back());

    box.exec();
    for (size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i]) return AlertAnswerOfButton(i, buttons.size());
    // Closed without a button (the application quit under it): the escape answer, else the
    // rightmost button's, as a question must have an answer.
    const std::optional<size_t> escape = AlertEscapeButton(titles);
    return AlertAnswerOfButton(escape.value_or(buttons.size() - 1), buttons.size());
}

}  // namespace NSQuillet
