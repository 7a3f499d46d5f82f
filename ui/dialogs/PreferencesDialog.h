#pragma once

#include <QDialog>

#include "app/preferences/PreferencesListener.h"

class QCheckBox;

namespace NSQuillet {

class CPreferences;

// The modeless Preferences dialog, without OK or Cancel: the General page's four check boxes
// show the application's preferences and change them when clicked, and follow changes made
// elsewhere. Without preferences (not started) they are disabled. Closing it destroys it.
class CQuilletPreferencesDialog final : public QDialog, private IPreferencesListener {
    Q_OBJECT
public:
    explicit CQuilletPreferencesDialog(QWidget* parent = nullptr);
    ~CQuilletPreferencesDialog() override;

    QCheckBox* GetAlwaysMoveLeftLocatorCheckBox() const { return fAlwaysMoveLeftLocatorToFirstSliceCheckBox; }
    QCheckBox* GetDefaultBarsToOneCheckBox() const { return fDefaultBarsToOneCheckBox; }
    QCheckBox* GetCropToLoopCheckBox() const { return fCropToLoopWhenTransmitAsOneSample; }
    QCheckBox* GetViewStereoAsSumCheckBox() const { return fViewStereoFilesAsSumOfLRCheckBox; }

private:
    void OnDisplayPreferencesChanged() override { ShowPreferences(); }
    void OnBehaviorPreferencesChanged() override { ShowPreferences(); }
    void ShowPreferences();

    CPreferences* fPreferencesShown;
    QCheckBox* fAlwaysMoveLeftLocatorToFirstSliceCheckBox;
    QCheckBox* fDefaultBarsToOneCheckBox;
    QCheckBox* fCropToLoopWhenTransmitAsOneSample;
    QCheckBox* fViewStereoFilesAsSumOfLRCheckBox;
};

}  // namespace NSQuillet
