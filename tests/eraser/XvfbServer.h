#pragma once

#include <sys/types.h>

#include <string>

// A virtual X11 display of the test's own, started with Xvfb when that is installed.
class XvfbServer {
public:
    XvfbServer();
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool running() const { return m_pid > 0 && !m_display.empty(); }
    const std::string& display() const { return m_display; } // ":N"

private:
    pid_t m_pid = -1;
    std::string m_display;
};
