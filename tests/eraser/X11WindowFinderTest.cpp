#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "ChildProcess.h"
#include "TempFolder.h"
#include "X11WindowFinder.h"
#include "XvfbServer.h"

namespace {

using namespace std::chrono_literals;

// A client of the test display that owns windows, as another program would.
class WindowOwner {
public:
    explicit WindowOwner(const std::string& display) : m_display(XOpenDisplay(display.c_str())) {}
    ~WindowOwner()
    {
        if (m_display != nullptr)
            XCloseDisplay(m_display);
    }
    bool connected() const { return m_display != nullptr; }

    Window create(const char* legacyTitle, const char* utf8Title = nullptr, bool mapped = true)
    {
        Window window = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 50, 50, 0, 0, 0);
        if (legacyTitle != nullptr)
            XStoreName(m_display, window, legacyTitle);
        if (utf8Title != nullptr) {
            XChangeProperty(m_display, window, XInternAtom(m_display, "_NET_WM_NAME", False),
                            XInternAtom(m_display, "UTF8_STRING", False), 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(utf8Title),
                            static_cast<int>(std::strlen(utf8Title)));
        }
        if (mapped)
            XMapWindow(m_display, window);
        XSync(m_display, False);
        return window;
    }
    void destroy(Window window)
    {
        XDestroyWindow(m_display, window);
        XSync(m_display, False);
    }

private:
    Display* m_display;
};

TEST(X11WindowFinder, WithoutADisplayNothingIsFound)
{
    X11WindowFinder finder("");
    EXPECT_FALSE(finder.hasDisplay());
    EXPECT_FALSE(finder.findTopLevelWindow("UninstallVeltaraRP8"));
}

TEST(X11WindowFinder, FindsTopLevelWindowsByTheirExactTitle)
{
    XvfbServer server;
    if (!server.running())
        GTEST_SKIP() << "Xvfb is not installed";
    WindowOwner owner(server.display());
    ASSERT_TRUE(owner.connected());
    X11WindowFinder finder(server.display());
    ASSERT_TRUE(finder.hasDisplay());

    EXPECT_FALSE(finder.findTopLevelWindow("UninstallVeltaraRP8"));
    Window similar = owner.create("UninstallVeltaraRP8 (2)");
    EXPECT_FALSE(finder.findTopLevelWindow("UninstallVeltaraRP8"));

    Window hidden = owner.create("UninstallVeltaraRP8", nullptr, false);
    EXPECT_TRUE(finder.findTopLevelWindow("UninstallVeltaraRP8"));
    owner.destroy(hidden);
    EXPECT_FALSE(finder.findTopLevelWindow("UninstallVeltaraRP8"));

    // Modern programs give their title as UTF-8 too, and that one counts.
    Window modern = owner.create("old title", "Veltara RP-8 – Entfernen");
    EXPECT_TRUE(finder.findTopLevelWindow("Veltara RP-8 – Entfernen"));
    owner.destroy(modern);
    owner.destroy(similar);
}

// The real program on a real display: no deletion while the first stage's window is
// there, deletion as soon as it has gone.
TEST(X11WindowFinder, ErasePanelWaitsForTheFirstStageWindowToClose)
{
    XvfbServer server;
    if (!server.running())
        GTEST_SKIP() << "Xvfb is not installed";
    WindowOwner owner(server.display());
    ASSERT_TRUE(owner.connected());
    TempFolder temp;
    TempFolder::writeFile(temp / "Veltara RP-8/DeskPanel", "program", true);
    TempFolder::writeFile(temp / "Veltara RP-8/Help/Guide.pdf", "pdf");
    TempFolder::writeFile(temp / "Veltara RP-8/installed-files.txt",
                          "DeskPanel\nHelp/Guide.pdf\ninstalled-files.txt\n");
    Window firstStage = owner.create("UninstallVeltaraRP8");

    ChildProcess::Options options;
    options.arguments = {temp / "Veltara RP-8"};
    // Messages on the terminal, the window look-up on the display.
    options.environment = {
        {"DISPLAY", server.display()}, {"QT_QPA_PLATFORM", "offscreen"}, {"XDG_CACHE_HOME", temp / "cache"}};
    options.input = "\n\n";
    options.outputFile = temp / "output.txt";
    ChildProcess erasePanel(ERASEPANEL_PATH, options);

    EXPECT_TRUE(ChildProcess::eventually(
        [&] { return ChildProcess::readFile(temp / "output.txt").find("Removing") != std::string::npos; }, 10s));
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(erasePanel.running());
    EXPECT_TRUE(TempFolder::exists(temp / "Veltara RP-8/DeskPanel"));

    owner.destroy(firstStage);
    EXPECT_EQ(erasePanel.waitForExit(10s), std::optional<int>(0));
    EXPECT_FALSE(TempFolder::exists(temp / "Veltara RP-8"));
    EXPECT_NE(ChildProcess::readFile(temp / "output.txt").find("Veltara RP-8 has been successfully removed"),
              std::string::npos);
}

} // namespace
