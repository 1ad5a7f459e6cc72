#pragma once
// Requests from outside to end the program: the desktop session ending (logout) and the
// signals a terminal or the system sends (SIGTERM, SIGHUP, SIGINT). Each is carried out as
// a close of the main window, so a modified text is offered for saving as with the close
// box, and the window placement and settings are written as at any end. Without this the
// process would die where it stood, its text and settings lost.

#include <QObject>

#include <functional>

class QSessionManager;
class QSocketNotifier;

namespace platform::fx {

class EndRequests : public QObject {
    Q_OBJECT
public:
    // close ends the program as the user's close would; false when the user chose to go on
    // (Cancel at the save question). One object at a time catches the signals.
    explicit EndRequests(std::function<bool()> close, QObject* parent = nullptr);
    ~EndRequests() override;

private:
    void onSignal();
    void onCommitData(QSessionManager& manager);

    std::function<bool()> m_close;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace platform::fx
