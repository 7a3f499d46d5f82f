#include "ui/dialogs/PreferencesDialog.h"

#include <QCheckBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <functional>

#include "app/preferences/PreferencesAccess.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "ui/dialogs/AudioPreferencesPage.h"

namespace NSQuillet {

namespace {

QString Text(int32_t entry) { return QString::fromStdString(StringReference(entry).GetText()); }

}  // namespace

CQuilletPreferencesDialog::CQuilletPreferencesDialog(CAudioCardManager* manager, QWidget* parent)
    : QDialog(parent),
      fPreferencesShown(GetPreferences()),
      fPages(new QTabWidget(this)),
      fAudioPage(new CAudioPreferencesPage(manager)),
      fAlwaysMoveLeftLocatorToFirstSliceCheckBox(new QCheckBox(Text(NSStringIds::kAlwaysMoveLeftLocatorToFirstSlice))),
      fDefaultBarsToOneCheckBox(new QCheckBox(Text(NSStringIds::kDefaultBarsToOne))),
      fCropToLoopWhenTransmitAsOneSample(new QCheckBox(Text(NSStringIds::kCropToLoopWhenExportingAsOneSample))),
      fViewStereoFilesAsSumOfLRCheckBox(new QCheckBox(Text(NSStringIds::kViewStereoFilesAsSumOfLR))) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setWindowTitle(Text(NSStringIds::kPreferencesTitle));

    auto* general = new QWidget;
    auto* generalLayout = new QVBoxLayout(general);
    for (QCheckBox* box : {fAlwaysMoveLeftLocatorToFirstSliceCheckBox, fDefaultBarsToOneCheckBox,
                           fCropToLoopWhenTransmitAsOneSample, fViewStereoFilesAsSumOfLRCheckBox})
        generalLayout->addWidget(box);
    generalLayout->addStretch();
    fPages->addTab(general, Text(NSStringIds::kGeneralPage));
    fPages->addTab(fAudioPage, Text(NSStringIds::kAudioPage));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fPages);

    // Clicks only: the boxes also change when the preferences change elsewhere.
    const auto bind = [this](QCheckBox* box, std::function<void(CPreferences&, bool)> set) {
        connect(box, &QCheckBox::clicked, this, [this, set = std::move(set)](bool on) {
            if (fPreferencesShown && fPreferencesShown == GetPreferences()) set(*fPreferencesShown, on);
        });
    };
    bind(fAlwaysMoveLeftLocatorToFirstSliceCheckBox,
         [](CPreferences& preferences, bool on) { preferences.SetAlwaysMoveLeftLocatorToFirstSlice(on); });
    bind(fDefaultBarsToOneCheckBox, [](CPreferences& preferences, bool on) { preferences.SetDefaultBarsToOne(on); });
    bind(fCropToLoopWhenTransmitAsOneSample,
         [](CPreferences& preferences, bool on) { preferences.SetCropToLoopWhenExportingAsOneSample(on); });
    bind(fViewStereoFilesAsSumOfLRCheckBox,
         [](CPreferences& preferences, bool on) { preferences.SetViewStereoFilesAsSumOfLR(on); });

    if (fPreferencesShown) fPreferencesShown->AddListener(this);
    ShowPreferences();
}

CQuilletPreferencesDialog::~CQuilletPreferencesDialog() {
    // Preferences destroyed meanwhile have unset themselves and dropped their listeners.
    if (fPreferencesShown && fPreferencesShown == GetPreferences()) fPreferencesShown->RemoveListener(this);
}

void CQuilletPreferencesDialog::ShowPreferences() {
    const CPreferences* preferences = fPreferencesShown == GetPreferences() ? fPreferencesShown : nullptr;
    for (QCheckBox* box : {fAlwaysMoveLeftLocatorToFirstSliceCheckBox, fDefaultBarsToOneCheckBox,
                           fCropToLoopWhenTransmitAsOneSample, fViewStereoFilesAsSumOfLRCheckBox})
        box->setEnabled(preferences != nullptr);
    if (!preferences) return;
    fAlwaysMoveLeftLocatorToFirstSliceCheckBox->setChecked(preferences->GetAlwaysMoveLeftLocatorToFirstSlice());
    fDefaultBarsToOneCheckBox->setChecked(preferences->GetDefaultBarsToOne());
    fCropToLoopWhenTransmitAsOneSample->setChecked(preferences->GetCropToLoopWhenExportingAsOneSample());
    fViewStereoFilesAsSumOfLRCheckBox->setChecked(preferences->GetViewStereoFilesAsSumOfLR());
}

}  // namespace NSQuillet
