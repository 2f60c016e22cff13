// The whole uninstall on Linux, as DeskPanel starts it: the first stage from inside a
// temporary installation folder, then ErasePanel from its fixed place.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "ChildProcess.h"
#include "TempFolder.h"
#include "XvfbServer.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

const char* const Removing = "Removing Veltara RP-8";
const char* const Removed = "Veltara RP-8 has been successfully removed";

class ChainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        install = temp / "Veltara RP-8";
        copy = temp / "cache/ErasePanel";
        // What an installation holds: the programs side by side, and data around them.
        TempFolder::writeFile(install + "/DeskPanel", "program", true);
        TempFolder::writeFile(install + "/Help/Tessaly User Guide.pdf", "pdf", true);
        TempFolder::writeFile(install + "/Help/Deep/QUICKREFERENCE.CHM", "chm");
        fs::copy_file(FIRST_STAGE_PATH, install + "/UninstallVeltaraRP8");
        fs::copy_file(ERASEPANEL_PATH, install + "/ErasePanel");
        // The list of what the installation put there.
        TempFolder::writeFile(install + "/installed-files.txt",
                              "DeskPanel\nHelp/Tessaly User Guide.pdf\nHelp/Deep/QUICKREFERENCE.CHM\n"
                              "UninstallVeltaraRP8\nErasePanel\ninstalled-files.txt\n");
    }

    ChildProcess::Options firstStageOptions(const std::string& display, const std::string& qtPlatform)
    {
        ChildProcess::Options options;
        options.environment = {{"XDG_CACHE_HOME", temp / "cache"}};
        options.environment["DISPLAY"] = display.empty() ? std::nullopt : std::optional<std::string>(display);
        options.environment["QT_QPA_PLATFORM"] =
            qtPlatform.empty() ? std::nullopt : std::optional<std::string>(qtPlatform);
        options.input = "\n\n";
        options.outputFile = temp / "output.txt";
        return options;
    }

    std::string output() const { return ChildProcess::readFile(temp / "output.txt"); }

    TempFolder temp;
    std::string install;
    std::string copy;
};

TEST_F(ChainTest, WithoutADisplayTheUninstallRunsOnTheTerminal)
{
    ChildProcess firstStage(install + "/UninstallVeltaraRP8", firstStageOptions("", ""));
    EXPECT_EQ(firstStage.waitForExit(10s), std::optional<int>(0));

    // ErasePanel runs on from the fixed place and deletes that copy last of all.
    EXPECT_TRUE(ChildProcess::eventually([&] { return !TempFolder::exists(copy); }, 20s)) << output();
    EXPECT_FALSE(TempFolder::exists(install));
    EXPECT_TRUE(TempFolder::exists(temp / "cache"));
    std::string text = output();
    EXPECT_LT(text.find(std::string("Remove Program: ") + Removing),
              text.find(std::string("Remove Program: ") + Removed))
        << text;
    EXPECT_NE(text.find(Removed), std::string::npos) << text;
}

TEST_F(ChainTest, SilentlyTheOperatorsFilesStayAndTheExitCodeSaysSo)
{
    TempFolder::writeFile(install + "/Gala.vpf", "project");
    ChildProcess::Options options = firstStageOptions("", "");
    options.arguments = {"/S"};
    options.input.clear();
    ChildProcess firstStage(install + "/UninstallVeltaraRP8", options);
    EXPECT_EQ(firstStage.waitForExit(10s), std::optional<int>(0));

    EXPECT_TRUE(ChildProcess::eventually([&] { return !TempFolder::exists(copy); }, 20s)) << output();
    EXPECT_FALSE(TempFolder::exists(install + "/DeskPanel"));
    EXPECT_FALSE(TempFolder::exists(install + "/Help"));
    EXPECT_EQ(ChildProcess::readFile(install + "/Gala.vpf"), "project");
    EXPECT_EQ(output(), "");

    // Run again on what is left: the program is gone, so the folder is no installation.
    TempFolder::writeFile(install + "/DeskPanel", "program");
    TempFolder::writeFile(install + "/installed-files.txt", "DeskPanel\n");
    options.arguments = {"/S", install};
    ChildProcess again(ERASEPANEL_PATH, options);
    EXPECT_EQ(again.waitForExit(10s), std::optional<int>(1));
    EXPECT_FALSE(TempFolder::exists(install + "/DeskPanel"));
    EXPECT_TRUE(TempFolder::exists(install + "/Gala.vpf"));
    options.arguments = {"/S", install + "/nowhere"};
    ChildProcess refused(ERASEPANEL_PATH, options);
    EXPECT_EQ(refused.waitForExit(10s), std::optional<int>(2));
    EXPECT_EQ(output(), "");
}

TEST_F(ChainTest, TheFirstStageSaysSoWhenErasePanelIsMissing)
{
    fs::remove(install + "/ErasePanel");
    ChildProcess firstStage(install + "/UninstallVeltaraRP8", firstStageOptions("", ""));
    EXPECT_EQ(firstStage.waitForExit(10s), std::optional<int>(1));
    EXPECT_NE(output().find("could not be copied"), std::string::npos) << output();
    EXPECT_TRUE(TempFolder::exists(install + "/DeskPanel"));
}

// A shown top-level window with this title other than the one given; 0 if none.
Window shownWindowTitled(Display* display, const std::string& title, Window other = 0)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0)
        return 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        char* name = nullptr;
        XWindowAttributes attributes{};
        if (children[i] == other || XFetchName(display, children[i], &name) == 0 || name == nullptr)
            continue;
        if (title == name && XGetWindowAttributes(display, children[i], &attributes) != 0 &&
            attributes.map_state == IsViewable) {
            found = children[i];
        }
        XFree(name);
    }
    if (children != nullptr)
        XFree(children);
    return found;
}

// Closes a window as the title bar's close button would; a box with only OK takes
// that as OK.
void closeWindow(Display* display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}

TEST_F(ChainTest, WithADisplayTheMessagesAreWindows)
{
    XvfbServer server;
    if (!server.running())
        GTEST_SKIP() << "Xvfb is not installed";
    Display* display = XOpenDisplay(server.display().c_str());
    ASSERT_NE(display, nullptr);

    ChildProcess firstStage(install + "/UninstallVeltaraRP8", firstStageOptions(server.display(), "xcb"));
    EXPECT_EQ(firstStage.waitForExit(10s), std::optional<int>(0)) << output();

    // The first message is up, and nothing is deleted until it is answered.
    Window first = 0;
    ASSERT_TRUE(
        ChildProcess::eventually([&] { return (first = shownWindowTitled(display, "Remove Program")) != 0; }, 20s));
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(TempFolder::exists(install + "/DeskPanel"));
    closeWindow(display, first);
    EXPECT_TRUE(ChildProcess::eventually([&] { return !TempFolder::exists(install); }, 20s));
    EXPECT_TRUE(TempFolder::exists(copy));

    // The final message; the copy goes once it is answered and the program ends.
    Window last = 0;
    ASSERT_TRUE(ChildProcess::eventually(
        [&] { return (last = shownWindowTitled(display, "Remove Program", first)) != 0; }, 20s));
    EXPECT_TRUE(TempFolder::exists(copy));
    closeWindow(display, last);
    EXPECT_TRUE(ChildProcess::eventually([&] { return !TempFolder::exists(copy); }, 20s));
    EXPECT_EQ(output().find("Remove Program:"), std::string::npos) << output();
    XCloseDisplay(display);
}

} // namespace
