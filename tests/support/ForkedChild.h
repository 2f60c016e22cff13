#pragma once
#include <functional>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace deskpanel::test {

struct ChildResult {
    bool exitedNormally = false;
    int exitCode = -1;
    std::string output; // what the body returned
};

// Runs `body` in a forked child, for tests that change what a process may do (its
// user, its file size limit) without touching the test program itself. The child
// hands back the text `body` returns and ends without running any destructors.
inline ChildResult runInChild(const std::function<std::string()>& body)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t pid = fork();
    if (pid < 0)
        return {};
    if (pid == 0) {
        ::close(fds[0]);
        const std::string out = body();
        std::size_t done = 0;
        while (done < out.size()) {
            const ssize_t n = ::write(fds[1], out.data() + done, out.size() - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        ::close(fds[1]);
        _exit(0);
    }
    ::close(fds[1]);
    ChildResult result;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0)
        result.output.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitedNormally = WIFEXITED(status);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

} // namespace deskpanel::test
