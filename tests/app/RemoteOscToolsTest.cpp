// The remote control driven by an OSC implementation that is not DeskPanel's: liblo's
// oscsend sends each message from a new source port and exits, oscdump listens on the
// port given with /deskpanel/reply and prints everything the endpoint sends there.
#include "tests/app/RackProcess.h"
#include "tests/app/RemoteShell.h"
#include "tests/ui/UiTestSupport.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <regex>

using namespace deskpanel;
using uitest::pumpUntil;

namespace {

// oscdump as a child process; its lines as they come, the time tag taken off:
// `/deskpanel/ch/1/gain f 42.000000`.
class OscDump {
public:
    OscDump(const QString& program, std::uint16_t port)
    {
        m_process.start(program, {"-L", QString::number(port)});
        m_process.waitForStarted(5000);
    }
    ~OscDump()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    OscDump(const OscDump&) = delete;
    OscDump& operator=(const OscDump&) = delete;

    const std::vector<std::string>& lines()
    {
        m_pending += m_process.readAllStandardOutput();
        for (qsizetype end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
            const std::string line = m_pending.left(end).toStdString();
            m_pending.remove(0, end + 1);
            const std::size_t space = line.find(' ');
            m_lines.push_back(space == std::string::npos ? line : line.substr(space + 1));
        }
        return m_lines;
    }
    // The first line from `from` on that starts with `prefix`, waiting up to `limitMs`.
    std::optional<std::string> waitFor(const std::string& prefix, std::size_t from = 0, int limitMs = 5000)
    {
        std::optional<std::string> found;
        pumpUntil(
            [&] {
                const auto& all = lines();
                for (std::size_t i = from; i < all.size() && !found; ++i)
                    if (all[i].rfind(prefix, 0) == 0)
                        found = all[i];
                return found.has_value();
            },
            limitMs);
        return found;
    }
    std::size_t count(const std::string& prefix, std::size_t from)
    {
        const auto& all = lines();
        return static_cast<std::size_t>(std::count_if(all.begin() + static_cast<std::ptrdiff_t>(from), all.end(),
                                                      [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
    }

private:
    QProcess m_process;
    QByteArray m_pending;
    std::vector<std::string> m_lines;
};

// One message with oscsend: `types` and `values` as its command line takes them.
bool oscsend(const QString& program, std::uint16_t port, const QString& address, const QStringList& typesAndValues)
{
    QProcess process;
    process.start(program, QStringList{"127.0.0.1", QString::number(port), address} + typesAndValues);
    return process.waitForFinished(5000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

TEST(RemoteOscTools, OscsendAndOscdumpSubscribeSetGainsSwitchesAndPatternsAndAskForInfo)
{
    const QString send = QStandardPaths::findExecutable("oscsend");
    const QString dump = QStandardPaths::findExecutable("oscdump");
    if (send.isEmpty() || dump.isEmpty())
        GTEST_SKIP() << "liblo-tools (oscsend, oscdump) is not installed; scripts/bootstrap installs it";

    test::RemoteShell shell(6);
    test::RackProcess rack(shell.ports, "127.0.6.1", {"--units", "1"});
    ASSERT_TRUE(pumpUntil([&] { return shell.app.link().unitCount() == 1; }, 10000));
    shell.remote.apply(shell.on());
    ASSERT_TRUE(shell.remote.isListening());
    const std::uint16_t port = shell.remotePort;
    // oscdump can only listen on every interface; nothing is sent to it but over loopback.
    const auto listenerPort = static_cast<std::uint16_t>(shell.ports.unitPort + 20000);
    OscDump listener(dump, listenerPort);

    // The answers go to oscdump from now on; its first pong says it is listening.
    ASSERT_TRUE(oscsend(send, port, "/deskpanel/reply", {"i", QString::number(listenerPort)}));
    bool listening = false;
    for (int attempt = 0; attempt < 20 && !listening; ++attempt) {
        ASSERT_TRUE(oscsend(send, port, "/deskpanel/ping", {}));
        listening = listener.waitFor("/deskpanel/pong", 0, 250).has_value();
    }
    ASSERT_TRUE(listening);

    // The token, and back with it from another source port.
    const auto subscribe = [&] {
        const std::size_t from = listener.lines().size();
        if (!oscsend(send, port, "/deskpanel/subscribe", {"i", "30"}))
            return false;
        const auto token = listener.waitFor("/deskpanel/subscribe/token", from);
        std::smatch hex;
        if (!token || !std::regex_match(*token, hex, std::regex("/deskpanel/subscribe/token s \"([0-9a-f]{16})\"")))
            return false;
        return oscsend(send, port, "/deskpanel/subscribe", {"is", "30", QString::fromStdString(hex[1])}) &&
               listener.waitFor("/deskpanel/scene/active", from, 10000).has_value(); // the whole state's last
    };
    ASSERT_TRUE(subscribe());
    EXPECT_TRUE(listener.waitFor("/deskpanel/unit/1/state s \"ACTIVE\"").has_value());

    std::size_t mark = listener.lines().size();
    ASSERT_TRUE(oscsend(send, port, "/deskpanel/ch/1/gain", {"f", "42"}));
    ASSERT_TRUE(oscsend(send, port, "/deskpanel/ch/2/gain", {"f", "40.6"}));
    ASSERT_TRUE(oscsend(send, port, "/deskpanel/ch/3/pad", {"T"}));
    ASSERT_TRUE(oscsend(send, port, "/deskpanel/ch/4/polarity", {"T"}));
    ASSERT_TRUE(oscsend(send, port, "/deskpanel/ch/4/polarity", {"F"}));
    ASSERT_TRUE(oscsend(send, port, "/deskpanel/ch/{1,2}/mute", {"i", "1"}));
    // A gain rounded from what was sent is fed back; the others were applied as sent.
    EXPECT_TRUE(listener.waitFor("/deskpanel/ch/2/gain f 41.000000", mark).has_value());
    ASSERT_TRUE(oscsend(send, port, "/deskpanel/ch/1/gain", {}));
    EXPECT_TRUE(listener.waitFor("/deskpanel/ch/1/gain f 42.000000", mark).has_value());
    EXPECT_EQ(listener.count("/deskpanel/ch/1/gain", mark), 1u) << "the query's answer, no echo";
    EXPECT_EQ(listener.count("/deskpanel/ch/1/mute", mark), 0u) << "no echo of its own change";

    ASSERT_TRUE(oscsend(send, port, "/deskpanel/info", {}));
    const auto answered = listener.waitFor("/deskpanel/info", mark);
    ASSERT_TRUE(answered.has_value());
    EXPECT_TRUE(
        std::regex_match(*answered, std::regex("/deskpanel/info sssii \"DeskPanel\" \"[^\"]+\" \"New Project\" 1 8")))
        << *answered;

    // A new lease's whole state shows every change made.
    ASSERT_TRUE(oscsend(send, port, "/deskpanel/unsubscribe", {}));
    EXPECT_TRUE(listener.waitFor("/deskpanel/unsubscribed", mark).has_value());
    mark = listener.lines().size();
    ASSERT_TRUE(subscribe());
    for (const char* line : {"/deskpanel/ch/1/gain f 42.000000", "/deskpanel/ch/2/gain f 41.000000",
                             "/deskpanel/ch/1/mute i 1", "/deskpanel/ch/2/mute i 1", "/deskpanel/ch/3/mute i 0",
                             "/deskpanel/ch/3/pad i 1", "/deskpanel/ch/4/polarity i 0"})
        EXPECT_TRUE(listener.waitFor(line, mark, 0).has_value()) << line;

    const auto units = rack.finish();
    const auto input = [&](int n) { return test::RackProcess::inputOf(units, 1, n); };
    EXPECT_EQ(input(1)["gainDb"].toInt(), 42);
    EXPECT_EQ(input(2)["gainDb"].toInt(), 41);
    EXPECT_EQ(input(1)["mute"].toInt(), 1);
    EXPECT_EQ(input(2)["mute"].toInt(), 1);
    EXPECT_EQ(input(3)["pad"].toInt(), 1);
    EXPECT_EQ(input(4)["polarity"].toInt(), 0);
    EXPECT_EQ(shell.app.channels().undoHistory().undoableCount(), 6) << "the pattern is one step";
}
