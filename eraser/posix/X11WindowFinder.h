#pragma once

#include <string>

typedef struct _XDisplay Display;

// Looks for top-level windows by title on an X11 display. Without a display there are
// no windows, so nothing is ever found.
class X11WindowFinder {
public:
    // The display named by DISPLAY, if any and if it answers.
    static X11WindowFinder fromEnvironment();
    // An empty name means no display.
    explicit X11WindowFinder(const std::string& displayName);
    ~X11WindowFinder();
    X11WindowFinder(X11WindowFinder&& other) noexcept;
    X11WindowFinder(const X11WindowFinder&) = delete;
    X11WindowFinder& operator=(const X11WindowFinder&) = delete;
    X11WindowFinder& operator=(X11WindowFinder&&) = delete;

    bool hasDisplay() const { return m_display != nullptr; }
    // Whether a top-level window, shown or hidden, has exactly this title.
    bool findTopLevelWindow(const std::string& title) const;

private:
    Display* m_display = nullptr;
};
