#pragma once

#include <QObject>

#include <functional>

namespace NSQuillet {

// Qt's own quit (QCoreApplication::quit, a session manager ending the session) would close every
// window behind the application's back; this routes it to the application's quit request
// instead, which asks about unsaved changes and may be cancelled.
class CQuitEventRouter final : public QObject {
    Q_OBJECT
public:
    // Installed on the application for the router's lifetime.
    explicit CQuitEventRouter(std::function<void()> requestQuit);
    ~CQuitEventRouter() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> fRequestQuit;
};

}  // namespace NSQuillet
