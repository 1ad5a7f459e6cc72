#include "platform/shell/DesktopDatabase.h"

#include "platform/shell/Files.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace platform::shell {

bool refreshDesktopDatabase(const std::string& folder)
{
    if (!isFolder(folder))
        return false;  // no entries, no cache
    std::string program = "update-desktop-database";
    std::string quiet = "-q";
    std::string dir = folder;
    char* argv[] = {program.data(), quiet.data(), dir.data(), nullptr};
    pid_t pid = 0;
    if (::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0)
        return false;  // not installed
    // A few seconds at most: the window waits meanwhile.
    int status = 0;
    for (int waited = 0; waited < 500; ++waited) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0 && errno != EINTR)
            return false;
        const timespec tick{0, 10'000'000};
        ::nanosleep(&tick, nullptr);
    }
    ::kill(pid, SIGKILL);
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return false;
}

} // namespace platform::shell
