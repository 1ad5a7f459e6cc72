#include "platform/fx/EndRequests.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform::fx {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// A signal handler may do almost nothing: it writes one byte, and the event loop, told by
// the notifier, does the work.
int g_pipe[2] = {-1, -1};

void onSignalCaught(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_pipe[0], &byte, 1);
}

} // namespace

EndRequests::EndRequests(std::function<bool()> close, QObject* parent)
    : QObject(parent), m_close(std::move(close))
{
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // The session asks each program whether it may end before it logs out.
        connect(app, &QGuiApplication::commitDataRequest, this, &EndRequests::onCommitData,
                Qt::DirectConnection);
    }
    if (g_pipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0)
        return;
    ::fcntl(g_pipe[0], F_SETFL, ::fcntl(g_pipe[0], F_GETFL) | O_NONBLOCK);
    ::fcntl(g_pipe[1], F_SETFL, ::fcntl(g_pipe[1], F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &EndRequests::onSignal);
    struct sigaction action = {};
    action.sa_handler = onSignalCaught;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int sig : kSignals)
        ::sigaction(sig, &action, nullptr);
}

EndRequests::~EndRequests()
{
    if (!m_notifier)
        return;
    for (const int sig : kSignals)
        ::signal(sig, SIG_DFL);
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void EndRequests::onSignal()
{
    char bytes[16];
    while (::read(g_pipe[1], bytes, sizeof bytes) > 0) {
    }
    // A second signal while the save question is open changes nothing: the question stands.
    static bool asking = false;
    if (asking)
        return;
    asking = true;
    m_close();
    asking = false;
}

void EndRequests::onCommitData(QSessionManager& manager)
{
    // Without leave to ask the user nothing is closed here; the session's end then ends the
    // program as a quit does, and the settings are written on the way out.
    if (!manager.allowsInteraction())
        return;
    const bool closed = m_close();
    manager.release();
    if (!closed)
        manager.cancel();
}

} // namespace platform::fx
