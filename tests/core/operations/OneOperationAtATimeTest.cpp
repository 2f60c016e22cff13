#include "core/model/ChannelSettingsPaste.h"
#include "core/persistence/RecallSafesSidecar.h"
#include "tests/core/remote/RemoteFixture.h"

#include <filesystem>

#include <functional>

namespace deskpanel::test {
namespace {

using Kind = ScriptedOperator::Kind;
using Sent = RecordingUnitSender::Sent;

// An operation of the desk with a box open, and work arriving inside that box.
class OneOperationAtATime : public RemoteFixture {
protected:
    static constexpr int SceneA = 1;
    static constexpr int SceneB = 2;

    OneOperationAtATime()
    {
        channels.setOperator(&op);
        // Scene A: input 2 muted, 48 V off on input 3. Scene B: input 2 padded.
        live(1).mute = 1;
        store("A");
        live(1).mute = 0;
        live(1).pad = 1;
        store("B");
        live(1).pad = 0;
        live(2).phantom48V = 1;
        remote.setAllowPhantom(true);
    }
    ChannelSettings& live(int channel) { return project.live[static_cast<std::size_t>(channel)]; }

    // The last value sent to input `input` of unit 1 for `name`, or -1.
    double lastSent(const std::string& name, int input) const
    {
        for (auto it = units.sent.rbegin(); it != units.sent.rend(); ++it)
            if (it->name == name && it->input == input)
                return it->value;
        return -1;
    }
    // What input 2 of unit 1 carries, as the panel would show it for `scene`.
    void expectUnitCarries(int scene)
    {
        const ChannelSettings& stored = project.scenes.scene(scene).settings[1];
        EXPECT_EQ(project.activeSceneIndex, scene);
        EXPECT_EQ(live(1).mute, stored.mute);
        EXPECT_EQ(live(1).pad, stored.pad);
        EXPECT_EQ(lastSent("Mute", 2), stored.mute);
        EXPECT_EQ(lastSent("Pad", 2), stored.pad);
    }
};

enum class Open {
    RecallQuestion, // a recall from the list, "Are you sure?" open
    SocketErrorInRecall, // a recall whose failed send opened "Error in socket"
    UndoPhantomQuestion, // Undo of a recall, the 48 V guard's question open
};
enum class Intruder {
    RemoteRecall,
    RemoteSwitch,
    RemoteGainStep,
    LocalRecall,
    LocalUndo,
};
enum class Outcome {
    Queued, // waits, applied in order once the operation is over
    Refused, // the beep, nothing changes
};

TEST_F(OneOperationAtATime, WorkArrivingInsideABoxWaitsOrIsRefused)
{
    const struct {
        Open open;
        Intruder intruder;
        Outcome outcome;
    } rows[] = {
        {Open::RecallQuestion, Intruder::RemoteRecall, Outcome::Queued},
        {Open::RecallQuestion, Intruder::RemoteSwitch, Outcome::Queued},
        {Open::RecallQuestion, Intruder::RemoteGainStep, Outcome::Queued},
        {Open::RecallQuestion, Intruder::LocalRecall, Outcome::Refused},
        {Open::SocketErrorInRecall, Intruder::RemoteRecall, Outcome::Queued},
        {Open::SocketErrorInRecall, Intruder::LocalUndo, Outcome::Refused},
        {Open::UndoPhantomQuestion, Intruder::RemoteRecall, Outcome::Queued},
        {Open::UndoPhantomQuestion, Intruder::RemoteSwitch, Outcome::Queued},
        {Open::UndoPhantomQuestion, Intruder::LocalUndo, Outcome::Refused},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "open " << static_cast<int>(row.open) << ", intruder "
                                        << static_cast<int>(row.intruder));
        // From the same start every time: scene 0 active, inputs as stored outside A and B.
        scenes.recallScene(0, SceneOperations::RecallOrigin::Remote);
        live(2).phantom48V = 1;
        timers.advance(RemoteControl::RecallBudgetMs);
        project.prefs.promptRecallScene = 0;
        channels.setConfirmPhantomOn(false);
        if (row.open == Open::UndoPhantomQuestion) {
            scenes.recallScene(SceneA); // switches input 3's 48 V off; its Undo asks
            channels.setConfirmPhantomOn(true);
        }
        const UndoHistory history = channels.undoHistory();
        op.clear();
        units.sent.clear();

        std::vector<OscMessage> answersInside;
        std::size_t sentBeforeIntruder = 0;
        std::string gateInside;
        int gainBefore = 0;
        const auto intrude = [&] {
            gateInside = channels.gate().holder();
            sentBeforeIntruder = units.sent.size();
            switch (row.intruder) {
            case Intruder::RemoteRecall:
                answersInside = send({"/deskpanel/scene/recall", {std::int32_t{SceneB}}});
                break;
            case Intruder::RemoteSwitch: answersInside = send({"/deskpanel/ch/6/pad", {std::int32_t{1}}}); break;
            case Intruder::RemoteGainStep:
                gainBefore = channels.gainDbOf(5);
                answersInside = send({"/deskpanel/ch/6/gain/step", {std::int32_t{3}}});
                break;
            case Intruder::LocalRecall: scenes.recallScene(SceneB); break;
            case Intruder::LocalUndo: channels.undo(); break;
            }
            EXPECT_EQ(units.sent.size(), sentBeforeIntruder) << "nothing of the intruder reaches a unit inside";
        };
        if (row.open == Open::SocketErrorInRecall) {
            units.onSend = [this, &intrude](const Sent& sent) {
                if (sent.name == "Pad" && sent.input == 4) {
                    units.onSend = nullptr;
                    op.whileOpen = intrude;
                    op.platformMessage("Error in socket");
                }
            };
        } else {
            op.whileOpen = intrude;
        }

        switch (row.open) {
        case Open::RecallQuestion:
            project.prefs.promptRecallScene = 1;
            scenes.recallScene(SceneA);
            break;
        case Open::SocketErrorInRecall: scenes.recallScene(SceneA); break;
        case Open::UndoPhantomQuestion: channels.undo(); break;
        }
        EXPECT_FALSE(gateInside.empty()) << "the operation held the gate while its box was open";
        EXPECT_FALSE(channels.gate().isHeld());
        EXPECT_EQ(answersInside, std::vector<OscMessage>{}) << "a waiting message is answered when applied";

        if (row.open == Open::UndoPhantomQuestion) {
            // The undo took back the recall of A, the entry it asked about.
            EXPECT_EQ(live(2).phantom48V, 1);
            EXPECT_EQ(channels.undoHistory().undoableCount(), history.undoableCount() - 1);
        } else {
            expectUnitCarries(SceneA);
        }
        const bool beeped = !op.shown.empty() && op.shown.back().kind == Kind::Beep;
        EXPECT_EQ(beeped, row.outcome == Outcome::Refused);

        const std::size_t sentByOperation = units.sent.size();
        timers.advance(1); // the next turn of the event loop
        EXPECT_EQ(remote.waitingCount(), 0u);
        const bool intruderSent = units.sent.size() > sentByOperation;
        EXPECT_EQ(intruderSent, row.outcome == Outcome::Queued) << "applied after the operation, in order";
        if (row.intruder == Intruder::RemoteRecall)
            expectUnitCarries(SceneB);
        if (row.intruder == Intruder::RemoteSwitch) {
            EXPECT_EQ(live(5).pad, 1);
            EXPECT_EQ(units.sent.back(), (Sent{"Pad", 1, 1, 6}));
        }
        if (row.intruder == Intruder::RemoteGainStep)
            EXPECT_EQ(channels.gainDbOf(5), gainBefore + 3);
        units.onSend = nullptr;
        live(5).pad = 0;
    }
}

TEST_F(OneOperationAtATime, AWaitingRemoteMessageIsAnsweredBusyAfterASecondOrBeyondTheQueue)
{
    std::vector<OscMessage> late;
    std::vector<OscMessage> beyond;
    op.whileOpen = [&] {
        send({"/deskpanel/ch/1/mute", {std::int32_t{1}}});
        timers.advance(RemoteControl::MaxWaitMs);
        late = received();
        for (std::size_t i = 0; i < RemoteControl::MaxWaiting; ++i)
            send({"/deskpanel/ch/2/mute", {std::int32_t{static_cast<std::int32_t>(i % 2)}}});
        beyond = send({"/deskpanel/ch/3/mute", {std::int32_t{1}}});
    };
    project.prefs.promptRecallScene = 1;
    store("A");
    scenes.recallScene(1);
    EXPECT_EQ(late, std::vector<OscMessage>{error("busy: /deskpanel/ch/1/mute")});
    EXPECT_EQ(beyond, std::vector<OscMessage>{error("busy: /deskpanel/ch/3/mute")});
    EXPECT_EQ(remote.waitingCount(), RemoteControl::MaxWaiting);
    timers.advance(1);
    timers.advance(1);
    EXPECT_EQ(remote.waitingCount(), 0u) << "512 switches fit in two turns";
    EXPECT_EQ(live(0).mute, 0) << "a cue does not fire a second late";
    EXPECT_EQ(live(1).mute, 1) << "the last of the waiting messages";
    EXPECT_EQ(live(2).mute, 0);
    EXPECT_EQ(remote.counts().refusedBusy, 2u);
}

// The paste's 48 V question: a remote switch waits for the paste; a change that makes
// another input go to 48 V than the one named stops the paste.
TEST_F(OneOperationAtATime, APasteActsOnlyOnTheInputsIts48VQuestionNamed)
{
    channels.setConfirmPhantomOn(true);
    ChannelSettingsPaste paste(project, channels, units, scenes, op);
    PartialSettings phantom;
    phantom.phantom48V = 1;
    live(2).phantom48V = 0;
    live(3).phantom48V = 0;
    std::size_t waitingInside = 0;
    op.whileOpen = [&] {
        send({"/deskpanel/ch/4/mute", {std::int32_t{1}}});
        waitingInside = remote.waitingCount();
    };
    EXPECT_EQ(paste.paste(phantom, {2, 3}), ChannelSettingsPaste::Outcome::Pasted);
    EXPECT_EQ(waitingInside, 1u) << "the remote's change waited for the paste";
    timers.advance(1);
    EXPECT_EQ(live(3).mute, 1);

    live(2).phantom48V = 0;
    live(3).phantom48V = 1;
    op.clear();
    op.whileOpen = [&] { live(3).phantom48V = 0; }; // as a unit restored by the identity check
    EXPECT_EQ(paste.paste(phantom, {2, 3}), ChannelSettingsPaste::Outcome::Refused);
    EXPECT_EQ(live(2).phantom48V, 0);
    EXPECT_EQ(op.textsOf(Kind::Beep).size(), 1u);
}

// Opening a project whose recall safes cannot be read says so in a box, inside the Open
// operation: a remote recall arriving meanwhile waits, and is then refused.
TEST_F(OneOperationAtATime, ARecallArrivingInsideTheUnreadableSafesBoxWaitsAndIsRefused)
{
    store("A");
    saveProject();
    std::filesystem::create_directory(folder.file("show.vpf.safes")); // not a file: unreadable
    ScriptedFileDialogs dialogs;
    RecentFileList recent(folder.file("settings.ini"), op);
    ProjectFiles files(project, op, timers, dialogs, recent, folder.file("settings.ini"), nullptr);
    RecallSafesSidecar sidecar(project, op);
    sidecar.attachTo(files);

    std::size_t waitingInside = 0;
    op.whileOpen = [&] {
        send({"/deskpanel/scene/recall", {std::int32_t{1}}});
        waitingInside = remote.waitingCount();
    };
    {
        auto open = channels.gate().enter("Open");
        ASSERT_TRUE(files.open(folder.file("show.vpf")));
    }
    ASSERT_FALSE(op.textsOf(Kind::PlatformMessage).empty()) << "the box was shown";
    EXPECT_EQ(waitingInside, 1u);
    timers.advance(1);
    EXPECT_EQ(received(),
              std::vector<OscMessage>{error("the recall safes could not be read: /deskpanel/scene/recall")});
    EXPECT_EQ(project.activeSceneIndex, 0);
}

} // namespace
} // namespace deskpanel::test
