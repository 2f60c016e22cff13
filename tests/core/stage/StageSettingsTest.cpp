#include "core/stage/StageSettings.h"

#include "core/persistence/IniFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace deskpanel::test {
namespace {

const std::string HashA(64, 'a');
const std::string HashB = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";

// The text with #A and #B replaced by the hashes above, #U by an upper-case one.
std::string withHashes(std::string text)
{
    for (const auto& [mark, hash] : {std::pair{"#A", HashA}, {"#B", HashB}, {"#U", std::string(64, 'A')}}) {
        for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark))
            text.replace(at, 2, hash);
    }
    return text;
}

TEST(StageSettings, ReadsWhatWasWrittenAndKeepsTheRestOfTheProfile)
{
    TempFolder folder;
    const std::string profile = folder.file("DeskPanel.INI");
    EXPECT_EQ(StageSettings::read(profile), StageSettings{}) << "off, 8480, loopback, no HTTPS, no 48 V, no devices";
    EXPECT_EQ(StageSettings{}.listenAddress(), 0x7F000001u);

    ASSERT_TRUE(writeProfileString(profile, "Remote Control", "Port", "9000"));
    const StageSettings on{
        true,
        8443,
        "192.168.1.20",
        "/etc/deskpanel/cert.pem",
        "/etc/deskpanel/key.pem",
        true,
        {{"Stage left", StagePermission::Control, HashA}, {"Foyer \xc3\xa9", StagePermission::Recall, HashB}}};
    ASSERT_TRUE(on.write(profile));
    EXPECT_EQ(StageSettings::read(profile), on);
    EXPECT_EQ(on.listenAddress(), 0xC0A80114u);
    EXPECT_EQ(readProfileString(profile, "Remote Control", "Port"), "9000");
    EXPECT_EQ(readProfileString(profile, "Stage Remote", "Device2"), "Foyer \xc3\xa9,recall," + HashB);

    // A value that cannot be read keeps its default; Listen is never wider than chosen.
    const struct {
        const char* key;
        const char* value;
        StageSettings expected;
    } unreadable[] = {
        {"Enabled", "yes", {false, 8443, "all", "", "", true, {}}},
        {"Port", "0", {true, 8480, "all", "", "", true, {}}},
        {"Port", "65536", {true, 8480, "all", "", "", true, {}}},
        {"Port", "84x", {true, 8480, "all", "", "", true, {}}},
        {"Listen", "everywhere", {true, 8443, "loopback", "", "", true, {}}},
        {"Listen", "10.0.0.256", {true, 8443, "loopback", "", "", true, {}}},
        {"Allow Phantom", "2", {true, 8443, "all", "", "", false, {}}},
    };
    for (const auto& c : unreadable) {
        writeText(profile, "[Stage Remote]\nEnabled=1\nPort=8443\nListen=all\nAllow Phantom=1\n");
        ASSERT_TRUE(writeProfileString(profile, StageSettings::Section, c.key, c.value));
        EXPECT_EQ(StageSettings::read(profile), c.expected) << c.key << "=" << c.value;
    }
}

TEST(StageSettings, SkipsDeviceLinesItCannotReadAndRenumbersOnWrite)
{
    TempFolder folder;
    const std::string profile = folder.file("DeskPanel.INI");
    writeText(profile, withHashes("[Stage Remote]\r\n"
                                  "Device1=Stage left,control,#A\r\n"
                                  "Device2=Broken,control\r\n"
                                  "Device3=Bad hash,view,#U\r\n"
                                  "Device4=Bad permission,admin,#A\r\n"
                                  "Device5=,view,#A\r\n"
                                  "Device6=Too,many,view,#A\r\n"
                                  "Device7=xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx,view,#A\r\n"
                                  "; Device8 is gone\r\n"
                                  "device12= Foyer , RECALL ,#B\r\n"
                                  "Device9=Monitor desk,view,#B\r\n"
                                  "Device9=Shadowed,view,#A\r\n"
                                  "Device0=Zero,view,#A\r\n"
                                  "Devices=Not a device,view,#A\r\n"
                                  "[Other]\r\nDevice1=kept\r\n"));
    StageSettings settings = StageSettings::read(profile);
    const std::vector<StageDevice> expected{{"Stage left", StagePermission::Control, HashA},
                                            {"Monitor desk", StagePermission::View, HashB},
                                            {"Foyer", StagePermission::Recall, HashB}};
    EXPECT_EQ(settings.devices, expected);

    // Revoke the first: the rest move up, and no older DeviceN line comes back on reading.
    settings.devices.erase(settings.devices.begin());
    ASSERT_TRUE(settings.write(profile));
    const IniFile file = IniFile::load(profile);
    EXPECT_EQ(file.keys("Stage Remote"),
              (std::vector<std::string>{"Device0", "Devices", "Enabled", "Port", "Listen", "Certificate", "Key",
                                        "Allow Phantom", "Device1", "Device2"}));
    EXPECT_EQ(file.value("Stage Remote", "Device1"), "Monitor desk,view," + HashB);
    EXPECT_EQ(file.value("Stage Remote", "Device2"), "Foyer,recall," + HashB);
    EXPECT_EQ(file.value("Other", "Device1"), "kept");
    EXPECT_EQ(StageSettings::read(profile).devices, (std::vector<StageDevice>(expected.begin() + 1, expected.end())));
}

std::string repeated(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

TEST(StageSettings, DeviceNames)
{
    const struct {
        std::string name;
        bool valid;
        const char* why;
    } cases[] = {
        {"Stage left", true, ""},
        {"  Foyer  ", true, ""},
        {std::string(32, 'x'), true, ""},
        // 32 characters of two bytes each: characters count, not bytes.
        {repeated("\xc3\xa9", 32), true, ""},
        {std::string(33, 'x'), false, "A device name has at most 32 characters."},
        {"", false, "Give the device a name."},
        {" \t ", false, "Give the device a name."},
        {"Left,right", false, "A device name cannot hold ',' or '='."},
        {"a=b", false, "A device name cannot hold ',' or '='."},
        {"Line\nbreak", false, "A device name cannot hold a line break."},
        {"Line\rbreak", false, "A device name cannot hold a line break."},
        {"Bell\x07", false, "A device name cannot hold control characters."},
        {"Half \xc3", false, "The device name is not readable text."},
    };
    for (const auto& c : cases) {
        std::string why = "left over";
        EXPECT_EQ(validDeviceName(c.name, why), c.valid) << c.name;
        EXPECT_EQ(why, c.why) << c.name;
    }
    EXPECT_EQ(permissionFromText(" Control "), StagePermission::Control);
    EXPECT_EQ(permissionFromText("controls"), std::nullopt);
    EXPECT_EQ(permissionText(StagePermission::Recall), "recall");
}

} // namespace
} // namespace deskpanel::test
