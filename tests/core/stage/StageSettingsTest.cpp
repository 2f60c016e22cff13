#include "core/stage/StageSettings.h"

#include "core/persistence/IniFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace deskpanel::test {
namespace {

const std::string HashA(64, 'a');
const std::string HashB = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";

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

    const struct {
        const char* key;
        const char* value;
    } unreadable[] = {
        {"Enabled", "yes"},       {"Port", "0"},          {"Port", "65536"}, {"Port", "84x"}, {"Listen", "everywhere"},
        {"Listen", "10.0.0.256"}, {"Allow Phantom", "2"},
    };
    for (const auto& c : unreadable) {
        writeText(profile, "[Stage Remote]\nEnabled=1\nPort=8443\nListen=all\nAllow Phantom=1\n");
        ASSERT_TRUE(writeProfileString(profile, StageSettings::Section, c.key, c.value));
        StageSettings expected{true, 8443, "all", "", "", true, {}};
        const std::string key = c.key;
        if (key == "Enabled")
            expected.enabled = false;
        else if (key == "Port")
            expected.port = StageSettings::DefaultPort;
        else if (key == "Listen")
            expected.listen = "loopback"; // never wider than the operator chose
        else
            expected.allowPhantom = false;
        EXPECT_EQ(StageSettings::read(profile), expected) << c.key << "=" << c.value;
    }
}

TEST(StageSettings, SkipsDeviceLinesItCannotReadAndRenumbersOnWrite)
{
    TempFolder folder;
    const std::string profile = folder.file("DeskPanel.INI");
    writeText(profile, "[Stage Remote]\r\n"
                       "Device1=Stage left,control," +
                           HashA +
                           "\r\n"
                           "Device2=Broken,control\r\n"
                           "Device3=Bad hash,view," +
                           std::string(64, 'A') +
                           "\r\n"
                           "Device4=Bad permission,admin," +
                           HashA +
                           "\r\n"
                           "Device5=,view," +
                           HashA +
                           "\r\n"
                           "Device6=Too,many,view," +
                           HashA +
                           "\r\n"
                           "Device7=" +
                           std::string(33, 'x') + ",view," + HashA +
                           "\r\n"
                           "; Device8 is gone\r\n"
                           "device12= Foyer , RECALL ," +
                           HashB +
                           "\r\n"
                           "Device9=Monitor desk,view," +
                           HashB +
                           "\r\n"
                           "Device9=Shadowed,view," +
                           HashA +
                           "\r\n"
                           "Device0=Zero,view," +
                           HashA +
                           "\r\n"
                           "Devices=Not a device,view," +
                           HashA +
                           "\r\n"
                           "[Other]\r\nDevice1=kept\r\n");
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
        {[] {
             std::string s;
             for (int i = 0; i < 32; ++i)
                 s += "\xc3\xa9";
             return s;
         }(),
         true, ""},
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
