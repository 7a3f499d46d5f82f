#pragma once

#include <QDialog>

#include "app/preferences/PreferencesListener.h"

class QCheckBox;
class QTabWidget;

namespace NSQuillet {

class CAudioCardManager;
class CAudioPreferencesPage;
class CPreferences;

// The modeless Preferences dialog, without OK or Cancel: the General page's four check boxes
// show the application's preferences and change them when clicked, and follow changes made
// elsewhere. Without preferences (not started) they are disabled. The Audio page sets up the
// audio output (CAudioPreferencesPage), disabled without a manager. Closing it destroys it.
class CQuilletPreferencesDialog final : public QDialog, private IPreferencesListener {
    Q_OBJECT
public:
    // `manager` not owned; it outlives the dialog.
    explicit CQuilletPreferencesDialog(CAudioCardManager* manager = nullptr, QWidget* parent = nullptr);
    ~CQuilletPreferencesDialog() override;

    QTabWidget* GetPages() const { return fPages; }
    CAudioPreferencesPage* GetAudioPage() const { return fAudioPage; }

    QCheckBox* GetAlwaysMoveLeftLocatorCheckBox() const { return fAlwaysMoveLeftLocatorToFirstSliceCheckBox; }
    QCheckBox* GetDefaultBarsToOneCheckBox() const { return fDefaultBarsToOneCheckBox; }
    QCheckBox* GetCropToLoopCheckBox() const { return fCropToLoopWhenTransmitAsOneSample; }
    QCheckBox* GetViewStereoAsSumCheckBox() const { return fViewStereoFilesAsSumOfLRCheckBox; }

private:
    void OnDisplayPreferencesChanged() override { ShowPreferences(); }
    void OnBehaviorPreferencesChanged() override { ShowPreferences(); }
    void ShowPreferences();

    CPreferences* fPreferencesShown;
    QTabWidget* fPages;
    CAudioPreferencesPage* fAudioPage;
    QCheckBox* fAlwaysMoveLeftLocatorToFirstSliceCheckBox;
    QCheckBox* fDefaultBarsToOneCheckBox;
    QCheckBox* fCropToLoopWhenTransmitAsOneSample;
    QCheckBox* fViewStereoFilesAsSumOfLRCheckBox;
};

}  // namespace NSQuillet
