#include "ui/toolbars/WinTopToolBar.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QRegularExpressionValidator>

#include <string>
#include <vector>

#include "app/document/QuilletDocument.h"
#include "app/document/RulerUnitsChoice.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "engine/WaveSample.h"
#include "ui/logic/SkinPictures.h"
#include "ui/logic/toolbars/ToolbarChanges.h"
#include "ui/toolbars/ToolbarHost.h"
#include "ui/toolbars/ToolbarPictureButton.h"
#include "ui/toolbars/ToolbarTextField.h"

namespace NSQuillet {

namespace {

using NSQuilletSkin::EButtonPicture;
using namespace NSStringIds;

QString Text(int32_t entry) { return QString::fromStdString(StringReference(entry).GetText()); }

constexpr EButtonPicture kToolPictures[kToolButtonCount] = {EButtonPicture::kArrowTool, EButtonPicture::kMuteTool,
                                                            EButtonPicture::kLockTool, EButtonPicture::kPenTool};
constexpr int32_t kToolTips[kToolButtonCount] = {kHelp_ArrowTool, kHelp_MuteTool, kHelp_LockTool, kHelp_PenTool};
constexpr EButtonPicture kTransportPictures[kTransportButtonCount] = {
    EButtonPicture::kStop, EButtonPicture::kPlayLoop, EButtonPicture::kPlayPreviousSlice,
    EButtonPicture::kPlayCurrentSlice, EButtonPicture::kPlayCurrentSliceAndNext};
constexpr int32_t kTransportTips[kTransportButtonCount] = {kHelp_Stop, kHelp_PlayLoop, kHelp_PlayPreviousSlice,
                                                           kHelp_PlayCurrentSlice, kHelp_PlayCurrentSliceAndNext};

QComboBox* MakePopup(QWidget* parent, const std::vector<std::string>& items, int32_t tooltip) {
    auto* popup = new QComboBox(parent);
    for (const std::string& item : items) popup->addItem(QString::fromStdString(item));
    popup->setToolTip(Text(tooltip));
    popup->setAccessibleName(Text(tooltip));
    // Chosen by the mouse; the arrow keys stay the window's.
    popup->setFocusPolicy(Qt::NoFocus);
    popup->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return popup;
}

void Check(QAbstractButton& button) {
    if (!button.isChecked()) button.setChecked(true);
}

}  // namespace

CWinTopToolBar::CWinTopToolBar(CQuilletDocument& document, IToolbarHost& host, QWidget* parent)
    : CABCToolbar(document, host, parent) {
    setObjectName("CWinTopToolBar");
    QBoxLayout& row = GetRow();
    const auto addButtons = [&](auto& buttons, const EButtonPicture* pictures, const int32_t* tips,
                                QButtonGroup*& group) {
        auto* cluster = new QHBoxLayout;
        cluster->setSpacing(1);
        group = new QButtonGroup(this);
        group->setExclusive(true);
        for (size_t i = 0; i < buttons.size(); ++i) {
            buttons[i] = new CToolbarPictureButton(pictures[i], Text(tips[i]), this);
            group->addButton(buttons[i], int(i));
            cluster->addWidget(buttons[i]);
        }
        row.addLayout(cluster);
    };

    addButtons(fToolButtons, kToolPictures, kToolTips, fToolsButtonGroup);
    connect(fToolsButtonGroup, &QButtonGroup::idClicked, this, [this](int button) {
        Run([this, button] { GetHost().DoWindowAction(GetToolButtonAction(button)); });
    });
    AddSeparator(row);

    fPreviewPlayButton = new CToolbarPictureButton(EButtonPicture::kPreviewToggle, Text(kHelp_PreviewToggle), this);
    row.addWidget(fPreviewPlayButton);
    connect(fPreviewPlayButton, &QAbstractButton::clicked, this,
            [this] { Run([this] { TogglePreviewPlay(GetDocument()); }); });
    AddSeparator(row);

    addButtons(fTransportButtons, kTransportPictures, kTransportTips, fTransportButtonsButtonGroup);
    connect(fTransportButtonsButtonGroup, &QButtonGroup::idClicked, this, [this](int button) {
        Run([this, button] { GetHost().DoWindowAction(GetTransportButtonAction(button)); });
    });
    AddSeparator(row);

    AddLabel(row, kBarsLabel)->setToolTip(Text(kHelp_LoopLength));
    fBarsTextEdit = new CToolbarTextField(this);
    fBarsTextEdit->setObjectName("fBarsTextEdit");
    fBarsTextEdit->setToolTip(Text(kHelp_BarLength));
    fBarsTextEdit->setAccessibleName(Text(kHelp_BarLength));
    fBarsTextEdit->setMaxLength(kBarsFieldMaximumLength);
    fBarsTextEdit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,3}"), fBarsTextEdit));
    fBarsTextEdit->setAlignment(Qt::AlignRight);
    fBarsTextEdit->setFixedWidth(fBarsTextEdit->fontMetrics().horizontalAdvance("0000") + 12);
    fBarsTextEdit->SetTake([this](const QString& text) { TakeBars(text); });
    fBarsTextEdit->SetShow([this] { ShowBars(); });
    fBarsTextEdit->SetLeave([this] { GetHost().ReturnFocusToWindow(); });
    row.addWidget(fBarsTextEdit, 0, Qt::AlignVCenter);

    AddLabel(row, kBeatsLabel)->setToolTip(Text(kHelp_BeatLength));
    fBeatsPopup = MakePopup(this, SplitItems(StringReference(kBeatItems).GetText()), kHelp_BeatLength);
    fBeatsPopup->setObjectName("fBeatsPopup");
    connect(fBeatsPopup, &QComboBox::activated, this, [this](int item) { ChooseBeats(item); });
    row.addWidget(fBeatsPopup, 0, Qt::AlignVCenter);

    AddLabel(row, kSignLabel)->setToolTip(Text(kHelp_TimeSignature));
    std::vector<std::string> signatures;
    for (const STimeSignature& signature : GetTimeSignatureItems())
        signatures.push_back(FormatTimeSignature(signature));
    fTimeSignatureItemCount = int32_t(signatures.size());
    fTimeSignaturePopup = MakePopup(this, signatures, kHelp_TimeSignature);
    fTimeSignaturePopup->setObjectName("fTimeSignaturePopup");
    connect(fTimeSignaturePopup, &QComboBox::activated, this, [this](int item) { ChooseTimeSignature(item); });
    row.addWidget(fTimeSignaturePopup, 0, Qt::AlignVCenter);
    AddSeparator(row);

    fRulerUnitsPopup =
        MakePopup(this, SplitItems(StringReference(kRulerUnitItems).GetText()), kUnitsForHorizontalRuler);
    fRulerUnitsPopup->setObjectName("fRulerUnitsPopup");
    connect(fRulerUnitsPopup, &QComboBox::activated, this, [this](int item) { ChooseRulerUnits(item); });
    row.addWidget(fRulerUnitsPopup, 0, Qt::AlignVCenter);

    Refresh();
}

void CWinTopToolBar::Refresh() {
    const CQuilletDocument& document = GetDocument();
    const SDocumentParameters parameters = document.GetDocumentParameters();
    SToolbarConditions conditions;
    conditions.fHasSound = document.GetWaveSample().GetFrameCount() > 0;
    conditions.fCanPlay = document.CanPlay();
    const SToolbarEnables enables = ComputeToolbarEnables(conditions);

    const int32_t tool = GetButtonOfTool(document.GetViewAndEditAttributes().fEditTool);
    if (tool >= 0) Check(*fToolButtons[size_t(tool)]);
    if (fPreviewPlayButton->isChecked() != parameters.fLoop.IsPreviewOn())
        fPreviewPlayButton->setChecked(parameters.fLoop.IsPreviewOn());
    Check(*fTransportButtons[size_t(GetTransportButtonOfPlayMode(document.GetPlayMode()))]);
    ShowBars();
    const int32_t beats = parameters.fLoop.GetBeats();
    if (beats < fBeatsPopup->count() && fBeatsPopup->currentIndex() != beats) fBeatsPopup->setCurrentIndex(beats);
    ShowTimeSignature(
        {parameters.fLoop.GetTimeSignatureNumerator(), parameters.fLoop.GetTimeSignatureDenominator()});
    ShowRulerUnits();

    for (QWidget* control : std::initializer_list<QWidget*>{fPreviewPlayButton, fBarsTextEdit, fBeatsPopup,
                                                            fTimeSignaturePopup, fRulerUnitsPopup})
        SetEnabledIfChanged(*control, enables.fSoundControls);
    for (CToolbarPictureButton* button : fToolButtons) SetEnabledIfChanged(*button, enables.fSoundControls);
    for (CToolbarPictureButton* button : fTransportButtons) SetEnabledIfChanged(*button, enables.fTransport);
}

void CWinTopToolBar::ShowBars() {
    fBarsTextEdit->ShowText(QString::number(GetDocument().GetDocumentParameters().fLoop.GetBars()));
}

void CWinTopToolBar::TakeBars(const QString& text) {
    // Refused text: the field shows the document's bars again.
    if (const std::optional<int32_t> bars = ParseBarsText(text.toStdString()))
        Run([this, bars] { SetLoopBars(GetDocument(), *bars); });
}

void CWinTopToolBar::ChooseBeats(int32_t item) {
    Run([this, item] { ChooseLoopBeats(GetDocument(), item); });
}

void CWinTopToolBar::ChooseTimeSignature(int32_t item) {
    const std::vector<STimeSignature>& items = GetTimeSignatureItems();
    if (item >= 0 && item < int32_t(items.size()))
        Run([this, signature = items[size_t(item)]] { NSQuillet::ChooseTimeSignature(GetDocument(), signature); });
}

void CWinTopToolBar::ShowTimeSignature(STimeSignature signature) {
    const std::optional<int32_t> item = FindTimeSignatureItem(GetTimeSignatureItems(), signature);
    // A signature the popup does not offer (a loop file may hold any) shows as an extra item.
    if (!item) {
        const QString text = QString::fromStdString(FormatTimeSignature(signature));
        if (fTimeSignaturePopup->count() == fTimeSignatureItemCount) fTimeSignaturePopup->addItem(text);
        if (fTimeSignaturePopup->itemText(fTimeSignatureItemCount) != text)
            fTimeSignaturePopup->setItemText(fTimeSignatureItemCount, text);
        if (fTimeSignaturePopup->currentIndex() != fTimeSignatureItemCount)
            fTimeSignaturePopup->setCurrentIndex(fTimeSignatureItemCount);
        return;
    }
    if (fTimeSignaturePopup->currentIndex() != *item) fTimeSignaturePopup->setCurrentIndex(*item);
    if (fTimeSignaturePopup->count() > fTimeSignatureItemCount)
        fTimeSignaturePopup->removeItem(fTimeSignatureItemCount);
}

void CWinTopToolBar::ChooseRulerUnits(int32_t item) {
    // Declining the length question refuses the switch; the popup shows the units in force.
    Run([this, item] {
        NSQuillet::ChooseRulerUnits(GetDocument(), GetRulerUnitsOfItem(item), GetHost().GetLoopLengthRequest());
    });
    ShowRulerUnits();
}

void CWinTopToolBar::ShowRulerUnits() {
    const int32_t item = GetItemOfRulerUnits(GetDocument().GetViewAndEditAttributes().fHorizontalRulerUnits);
    if (fRulerUnitsPopup->currentIndex() != item) fRulerUnitsPopup->setCurrentIndex(item);
}

}  // namespace NSQuillet
