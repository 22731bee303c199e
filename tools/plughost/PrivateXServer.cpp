#include "tools/plughost/PrivateXServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

namespace {

constexpr const char* kScreen = "2048x1536x24";  // true colour, and room for any editor

bool reap(pid_t pid, int milliseconds)
{
    for (int waited = 0; waited <= milliseconds; waited += 10) {
        const pid_t r = waitpid(pid, nullptr, WNOHANG);
        if (r == pid || (r < 0 && errno == ECHILD)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

} // namespace

bool PrivateXServer::start(std::string& error)
{
    int ready[2];
    if (pipe(ready) != 0) {
        error = "cannot start Xvfb (no pipe)";
        return false;
    }
    const pid_t parent = getpid();
    const std::string fd = std::to_string(ready[1]);
    const pid_t pid = fork();
    if (pid < 0) {
        close(ready[0]);
        close(ready[1]);
        error = "cannot start Xvfb (fork failed)";
        return false;
    }
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(1);
        close(ready[0]);
        const int quiet = open("/dev/null", O_RDWR);
        if (quiet >= 0) {
            dup2(quiet, 0);
            dup2(quiet, 1);
            dup2(quiet, 2);
        }
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", kScreen, "-nolisten", "tcp", "-noreset",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    pid_ = pid;

    // Xvfb writes its display number to the pipe once it takes connections; end of file means it died.
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                                std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{ready[0], POLLIN, 0};
        if (poll(&p, 1, int(left.count())) <= 0) break;
        char c = 0;
        const ssize_t got = read(ready[0], &c, 1);
        if (got <= 0 || c == '\n') break;
        number += c;
    }
    close(ready[0]);
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) {
        stop();
        error = "cannot start a private X server (Xvfb) for the editor: is Xvfb installed?";
        return false;
    }
    name_ = ":" + number;
    return true;
}

void PrivateXServer::stop()
{
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    if (!reap(pid_, 3000)) {
        kill(pid_, SIGKILL);
        reap(pid_, 1000);
    }
    pid_ = -1;
    name_.clear();
}
