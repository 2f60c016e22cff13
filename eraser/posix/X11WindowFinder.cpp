#include "X11WindowFinder.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>

namespace {

// A window can disappear between listing it and reading its title; Xlib's default
// handler would end the program for that.
int ignoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

std::string titleOf(Display* display, Window window)
{
    Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom utf8String = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8String, &type, &format, &count, &remaining,
                           &data) == Success &&
        data != nullptr) {
        std::string title;
        if (type == utf8String && format == 8)
            title.assign(reinterpret_cast<const char*>(data), count);
        XFree(data);
        if (type == utf8String)
            return title;
    }
    char* name = nullptr;
    if (XFetchName(display, window, &name) != 0 && name != nullptr) {
        std::string title = name;
        XFree(name);
        return title;
    }
    return {};
}

// The children of a window; empty when it has gone.
struct Children {
    Children(Display* display, Window parent)
    {
        Window root = 0;
        Window ignoredParent = 0;
        if (XQueryTree(display, parent, &root, &ignoredParent, &list, &count) == 0) {
            list = nullptr;
            count = 0;
        }
    }
    ~Children()
    {
        if (list != nullptr)
            XFree(list);
    }
    Children(const Children&) = delete;
    Children& operator=(const Children&) = delete;

    Window* list = nullptr;
    unsigned int count = 0;
};

} // namespace

X11WindowFinder X11WindowFinder::fromEnvironment()
{
    const char* name = std::getenv("DISPLAY");
    return X11WindowFinder(name != nullptr ? name : "");
}

X11WindowFinder::X11WindowFinder(const std::string& displayName)
{
    if (displayName.empty())
        return;
    XSetErrorHandler(ignoreXErrors);
    m_display = XOpenDisplay(displayName.c_str());
}

X11WindowFinder::~X11WindowFinder()
{
    if (m_display != nullptr)
        XCloseDisplay(m_display);
}

X11WindowFinder::X11WindowFinder(X11WindowFinder&& other) noexcept : m_display(other.m_display)
{
    other.m_display = nullptr;
}

bool X11WindowFinder::findTopLevelWindow(const std::string& title) const
{
    if (m_display == nullptr)
        return false;
    Children topLevel(m_display, DefaultRootWindow(m_display));
    for (unsigned int i = 0; i < topLevel.count; ++i) {
        if (titleOf(m_display, topLevel.list[i]) == title)
            return true;
        // A window manager puts each application window inside a frame of its own.
        Children framed(m_display, topLevel.list[i]);
        for (unsigned int j = 0; j < framed.count; ++j) {
            if (titleOf(m_display, framed.list[j]) == title)
                return true;
        }
    }
    return false;
}
