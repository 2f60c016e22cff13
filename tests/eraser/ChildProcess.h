#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A program started by a test: its input comes from a prepared text, its output goes to
// a file, and its environment is the test's with some variables set or removed.
class ChildProcess {
public:
    struct Options {
        std::vector<std::string> arguments; // after the program's name
        std::map<std::string, std::optional<std::string>> environment; // nullopt removes
        std::string input; // what it reads on its standard input
        std::string outputFile; // standard output and error; empty: /dev/null
    };

    ChildProcess(const std::string& program, const Options& options);
    ~ChildProcess(); // a child still running is killed
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The exit code, or nothing if it still runs after the timeout (or died of a signal).
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    bool running();

    static std::string readFile(const std::string& path);
    // Polls a condition for up to timeout; returns its last value.
    template <typename Condition>
    static bool eventually(Condition condition, std::chrono::milliseconds timeout);

private:
    pid_t m_pid = -1;
    bool m_exited = false;
    int m_status = 0;
    std::string m_inputFile;
};

template <typename Condition>
bool ChildProcess::eventually(Condition condition, std::chrono::milliseconds timeout)
{
    auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return condition();
        struct timespec pause {
            0, 20 * 1000 * 1000
        };
        nanosleep(&pause, nullptr);
    }
    return true;
}
