#pragma once
#include "core/model/ChannelControl.h"
#include "core/model/ChannelStripDialogs.h"
#include "core/model/Project.h"
#include "core/model/SceneTracker.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/RecordingUnitSender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <ostream>
#include <utility>
#include <vector>

namespace deskpanel::test {

class RecordingSceneTracker : public SceneTracker {
public:
    void markActiveSceneModified() override { ++marked; }
    void updateFollowedScene() override { ++updated; }
    int marked = 0;
    int updated = 0;
};

class RecordingChannelListener : public ChannelListener {
public:
    void channelChanged(int channel, ChannelAspect aspect) override { changes.emplace_back(channel, aspect); }
    void allChannelsChanged() override { ++allChanged; }
    void linkGroupTextChanged(int group) override { groupTexts.push_back(group); }

    bool saw(int channel, ChannelAspect aspect) const
    {
        for (const auto& change : changes)
            if (change == std::make_pair(channel, aspect))
                return true;
        return false;
    }

    std::vector<std::pair<int, ChannelAspect>> changes;
    int allChanged = 0;
    std::vector<int> groupTexts;
};

// Answers the pop-up and the title dialog from prepared lists.
class ScriptedStripDialogs : public ChannelStripDialogs {
public:
    int chooseLinkGroup(int channel, int checkedGroup) override
    {
        popups.emplace_back(channel, checkedGroup);
        if (whileOpen)
            whileOpen();
        if (choices.empty())
            return NothingChosen;
        const int choice = choices.front();
        choices.pop_front();
        return choice;
    }
    bool editChannelTitle(int channel, const std::string& heading) override
    {
        titles.emplace_back(channel, heading);
        return titleOk;
    }

    std::deque<int> choices;
    std::function<void()> whileOpen;
    bool titleOk = true;
    std::vector<std::pair<int, int>> popups;
    std::vector<std::pair<int, std::string>> titles;
};

using Sent = RecordingUnitSender::Sent;

inline void PrintTo(const Sent& s, std::ostream* os)
{
    *os << "{" << s.name << " " << s.value << " unit " << s.unit << " input " << s.input << "}";
}

class ChannelControlTest : public ::testing::Test {
protected:
    ChannelControlTest() : timers(clock), control(project, units, timers, scenes)
    {
        control.addListener(&listener);
        control.setStripDialogs(&dialogs);
    }

    ChannelSettings& live(int channel) { return project.live[static_cast<std::size_t>(channel)]; }

    // Puts the channel into a group with its link engaged, the way a matrix click does,
    // at the given gain position (which becomes its reference).
    void joinAt(int channel, int group, int position)
    {
        live(channel).gainPosition = position;
        control.linkGroups().matrixCellPressed(group, channel);
        control.linkGroups().matrixReleased();
    }

    // Forgets what setting up sent and recorded on the side.
    void clearRecords()
    {
        units.sent.clear();
        listener.changes.clear();
        scenes.marked = scenes.updated = 0;
    }

    // The last "Link" value each present input was sent must equal its Link switch.
    void expectUnitsLinkMatchesSwitches() const
    {
        std::map<std::pair<int, int>, double> last;
        for (const auto& s : units.sent)
            if (s.name == "Link")
                last[{s.unit, s.input}] = s.value;
        for (const auto& [key, value] : last) {
            const int channel = channelIndex(key.first, key.second);
            EXPECT_EQ(value, project.live[static_cast<std::size_t>(channel)].linkButton)
                << "unit " << key.first << " input " << key.second;
        }
    }

    Project project;
    RecordingUnitSender units;
    FakeClock clock;
    FakeTimers timers;
    RecordingSceneTracker scenes;
    RecordingChannelListener listener;
    ScriptedStripDialogs dialogs;
    ChannelControl control;
};

} // namespace deskpanel::test
