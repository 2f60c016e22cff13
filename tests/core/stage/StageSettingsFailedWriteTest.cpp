#include "core/stage/StageSettings.h"

#include "tests/support/ForkedChild.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace deskpanel::test {
namespace {

TEST(StageSettings, AFailedWriteLeavesTheProfileAsItWas)
{
    TempFolder folder;
    const std::string profile = folder.file("DeskPanel.INI");
    StageSettings settings;
    settings.devices = {{"Stage left", StagePermission::Control, std::string(64, 'a')}};
    ASSERT_TRUE(settings.write(profile));
    const std::string before = readText(profile);

    ASSERT_EQ(chmod(folder.path().c_str(), 0555), 0);
    const ChildResult child = runInChild([&] {
        // Root writes anywhere; the test needs an ordinary user's view of the folder.
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return std::string("cannot drop privileges");
        StageSettings revoked = settings;
        revoked.devices.clear();
        return std::string(revoked.write(profile) ? "written" : "refused");
    });
    chmod(folder.path().c_str(), 0700);
    ASSERT_TRUE(child.exitedNormally);
    EXPECT_EQ(child.output, "refused");
    EXPECT_EQ(readText(profile), before);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"DeskPanel.INI"});
    EXPECT_EQ(StageSettings::read(profile), settings);
}

} // namespace
} // namespace deskpanel::test
