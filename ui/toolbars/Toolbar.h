#pragma once

#include <QWidget>

namespace NSQuillet {

class CEnvelopeToolbar;
class CEqualizerToolBar;
class CQuilletDocument;
class CSecondToolBar;
class CTransientToolbar;
class CToolbarStripLayout;
class CWinTopToolBar;
class IToolbarHost;

// The document window's toolbar strip: creates the five toolbars in their order (top, second,
// envelope, transient shaper, equalizer) and arranges them in rows that fit the window's width,
// so that every control stays in sight however narrow the window. Exists while the document has
// sound. User-interface thread.
class CToolbar final : public QWidget {
    Q_OBJECT

public:
    // Both outlive the strip.
    CToolbar(CQuilletDocument& document, IToolbarHost& host, QWidget* parent = nullptr);

    CWinTopToolBar& GetTopToolBar() { return *fTop; }
    CSecondToolBar& GetSecondToolBar() { return *fSecond; }
    CEnvelopeToolbar& GetEnvelopeToolbar() { return *fEnvelope; }
    CTransientToolbar& GetTransientToolbar() { return *fTransient; }
    CEqualizerToolBar& GetEqualizerToolBar() { return *fEqualizer; }
    CToolbarStripLayout& GetStripLayout() { return *fLayout; }
    // Every toolbar refreshed from the document at once.
    void RefreshAll();

private:
    CToolbarStripLayout* fLayout = nullptr;
    CWinTopToolBar* fTop = nullptr;
    CSecondToolBar* fSecond = nullptr;
    CEnvelopeToolbar* fEnvelope = nullptr;
    CTransientToolbar* fTransient = nullptr;
    CEqualizerToolBar* fEqualizer = nullptr;
};

}  // namespace NSQuillet
