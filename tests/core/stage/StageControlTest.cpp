#include "core/stage/StageControl.h"
#include "core/model/GainMath.h"
#include "tests/core/scenes/SceneFixture.h"

#include <map>
#include <set>

namespace deskpanel::test {
namespace {

// Records what each page was sent; a page can be made slow.
class RecordingPages : public StageControl::PageOutput {
public:
    void send(int page, const OscMessage& message) override { sent[page].push_back(message); }
    void sendMeters(int page, int first, const std::vector<int>& levels) override
    {
        meters[page].push_back({first, levels});
    }
    bool isSlow(int page) const override { return slow.count(page) != 0; }

    // The last value sent to `page` on each address, and forgets what was sent.
    std::map<std::string, OscMessage> take(int page)
    {
        std::map<std::string, OscMessage> last;
        for (const OscMessage& m : sent[page])
            last[m.address] = m;
        sent[page].clear();
        return last;
    }

    std::map<int, std::vector<OscMessage>> sent;
    std::map<int, std::vector<std::pair<int, std::vector<int>>>> meters;
    std::set<int> slow;
};

class StageControlTest : public SceneFixture {
protected:
    StageControlTest()
    {
        control.setMeterSource([](int channel) { return -40 + channel; });
    }

    int openPage(StagePermission permission)
    {
        const std::optional<int> page = control.open("Stage left", permission);
        EXPECT_TRUE(page.has_value());
        timers.advance(StageControl::FrameMs * 10); // greeted, whole state sent
        pages.take(*page);
        return page.value_or(0);
    }
    std::vector<OscMessage> sendFrom(int page, const OscMessage& message)
    {
        pages.sent[page].clear();
        control.received(page, message);
        std::vector<OscMessage> answers = pages.sent[page];
        pages.sent[page].clear();
        return answers;
    }
    static OscMessage error(const std::string& text) { return {"/deskpanel/error", {text}}; }
    void setGain(int channel, int db) { channels.singleGainMove(channel, MaxGainDb - db); }

    RecordingPages pages;
    std::vector<UnitState> unitStates = std::vector<UnitState>(MaxUnits + 1, UnitState::INACTIVE);
    StageControl control{project, channels, scenes,
                         timers,  clock,    [this](int unit) { return unitStates[static_cast<std::size_t>(unit)]; },
                         pages};
};

TEST_F(StageControlTest, APageIsGreetedSentTheWholeStateThenEachChangeOncePerFrame)
{
    unitStates[1] = UnitState::ACTIVE;
    project.channels[4].notes = "SM58, stand 3";
    const int page = *control.open("Stage left", StagePermission::Control);
    EXPECT_TRUE(pages.sent[page].empty()) << "nothing before the first frame";
    timers.advance(StageControl::FrameMs);
    ASSERT_FALSE(pages.sent[page].empty());
    EXPECT_EQ(pages.sent[page][0], (OscMessage{"/deskpanel/hello",
                                               {std::string("Stage left"), std::string("control"), std::string("1.01"),
                                                std::string("New Project")}}));
    EXPECT_LE(pages.sent[page].size(), std::size_t{3 + StageControl::MaxValuesPerFrame});
    timers.advance(StageControl::FrameMs * 10);
    std::map<std::string, OscMessage> state = pages.take(page);
    EXPECT_EQ(state["/deskpanel/ch/384/gain"], (OscMessage{"/deskpanel/ch/384/gain", {std::int32_t{8}}}));
    EXPECT_EQ(state["/deskpanel/ch/5/notes"].arguments, std::vector<OscArgument>{std::string("SM58, stand 3")});
    EXPECT_EQ(state["/deskpanel/unit/1/state"].arguments, std::vector<OscArgument>{std::string("ACTIVE")});
    EXPECT_EQ(state["/deskpanel/busy"].arguments, std::vector<OscArgument>{std::int32_t{0}});
    EXPECT_TRUE(state.contains("/deskpanel/scene/list"));
    EXPECT_TRUE(state.contains("/deskpanel/scene/active"));

    // Two changes at the console inside one frame: the page is told the last, once.
    setGain(1, 30);
    setGain(1, 34);
    timers.advance(StageControl::FrameMs);
    const std::vector<OscMessage> frame = pages.sent[page];
    EXPECT_EQ(frame, (std::vector<OscMessage>{{"/deskpanel/ch/2/gain", {std::int32_t{34}}}}));
}

TEST_F(StageControlTest, EachDeviceMayDoWhatItsPermissionSays)
{
    store("Act 1");
    struct Case {
        StagePermission permission;
        OscMessage message;
        bool applied;
    };
    const OscMessage step{"/deskpanel/ch/1/gain/step", {std::int32_t{3}}};
    const OscMessage recall{"/deskpanel/scene/recall", {std::int32_t{1}}};
    const Case cases[] = {
        {StagePermission::View, step, false},   {StagePermission::View, recall, false},
        {StagePermission::Control, step, true}, {StagePermission::Control, recall, false},
        {StagePermission::Recall, step, true},  {StagePermission::Recall, recall, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(permissionText(c.permission)) + " " + c.message.address);
        setGain(0, 20);
        project.activeSceneIndex = 0;
        const int page = openPage(c.permission);
        units.sent.clear();
        const std::vector<OscMessage> answers = sendFrom(page, c.message);
        if (c.message.address == step.address) {
            EXPECT_EQ(channels.gainDbOf(0), c.applied ? 23 : 20);
            EXPECT_EQ(units.sent.empty(), !c.applied) << "the unit hears the step as a fader move";
        } else {
            EXPECT_EQ(project.activeSceneIndex, c.applied ? 1 : 0);
        }
        // A refusal says why and what the value is now, so the page shows the truth.
        if (!c.applied) {
            ASSERT_GE(answers.size(), 2u);
            EXPECT_EQ(answers[0].address, "/deskpanel/error");
            EXPECT_EQ(answers[1].address,
                      c.message.address == step.address ? "/deskpanel/ch/1/gain" : "/deskpanel/scene/active");
        }
        control.close(page);
    }
    EXPECT_FALSE(timers.isRunning(TimerId::StageFrame)) << "no frames without pages";
}

TEST_F(StageControlTest, WhileABoxIsOpenPagesAreBusyAndTheirChangesRefused)
{
    const int page = openPage(StagePermission::Recall);
    setGain(0, 20);
    timers.advance(StageControl::FrameMs);
    pages.take(page);
    {
        auto hold = channels.gate().enter("Save As");
        ASSERT_TRUE(hold.has_value());
        timers.advance(StageControl::FrameMs);
        EXPECT_EQ(pages.take(page)["/deskpanel/busy"].arguments, std::vector<OscArgument>{std::int32_t{1}});
        const std::vector<OscMessage> answers = sendFrom(page, {"/deskpanel/ch/1/mute", {std::int32_t{1}}});
        EXPECT_EQ(answers.front(), error("busy: /deskpanel/ch/1/mute"));
        EXPECT_EQ(channels.settings(0).mute, 0);
    }
    timers.advance(StageControl::FrameMs);
    EXPECT_EQ(pages.take(page)["/deskpanel/busy"].arguments, std::vector<OscArgument>{std::int32_t{0}});
    EXPECT_EQ(channels.settings(0).mute, 0) << "a refused change never runs later";
}

TEST_F(StageControlTest, MetersGoAtTwentyHertzAndASlowPageMissesThemButNotItsValues)
{
    const int page = openPage(StagePermission::View);
    EXPECT_TRUE(sendFrom(page, {"/deskpanel/meters/subscribe", {std::int32_t{9}, std::int32_t{3}}}).empty());
    timers.advance(1000);
    ASSERT_NEAR(static_cast<double>(pages.meters[page].size()), 1000.0 / StageControl::MeterPeriodMs, 1.0);
    EXPECT_EQ(pages.meters[page].front(), (std::pair<int, std::vector<int>>{9, {-32, -31, -30}}));

    pages.slow.insert(page);
    pages.meters[page].clear();
    setGain(3, 44);
    timers.advance(1000);
    EXPECT_TRUE(pages.meters[page].empty());
    EXPECT_TRUE(pages.sent[page].empty());
    pages.slow.clear();
    timers.advance(StageControl::FrameMs);
    EXPECT_EQ(pages.take(page)["/deskpanel/ch/4/gain"].arguments, std::vector<OscArgument>{std::int32_t{44}});

    for (const OscMessage& bad : {OscMessage{"/deskpanel/meters/subscribe", {std::int32_t{0}, std::int32_t{3}}},
                                  OscMessage{"/deskpanel/meters/subscribe", {std::int32_t{1}, std::int32_t{65}}},
                                  OscMessage{"/deskpanel/meters/subscribe", {std::string("1")}}})
        EXPECT_EQ(sendFrom(page, bad).front().address, "/deskpanel/error");
}

} // namespace
} // namespace deskpanel::test
