#pragma once
#include "core/model/ChannelListener.h"
#include "core/model/ChannelSettings.h"
#include "core/model/LinkGroupControl.h"
#include "core/model/LinkedSet.h"
#include "core/model/OperationGate.h"
#include "core/model/RecallSafes.h"
#include "core/model/UndoHistory.h"
#include "core/model/UnitSettingsHolder.h"
#include "core/model/UnitSettingsKeeper.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace deskpanel {

class ChannelStripDialogs;
class Clock;
class Operator;
struct LiveState;
class Project;
class SceneTracker;
class Timers;
class UnitSender;

// The kinds a strip's switch reports, with the channel and the new state.
enum class SwitchKind : int {
    Pol = 3,
    Link = 4,
    Pad = 5,
    Phantom48V = 6,
    Mute = 7,
    LinkGroupPopup = 8, // opens the link group pop-up
    ChannelTitle = 9, // opens the channel title dialog
};

// Every change the operator makes to an input passes through here: switches, faders,
// arrow keys and Undo. Each changes the live settings of the project, tells the views,
// sends the change to the input's unit (nothing is sent for a unit that is not present;
// the change is kept), carries it to linked inputs where gain or mute call for it, and
// marks the active scene modified through the scene tracker.
//
// Owns the timers FullResend (12), LinkResend (21) and TemporaryUnlink.
class ChannelControl : public UnitSettingsKeeper {
public:
    static constexpr std::uint32_t FullResendMs = 100;
    static constexpr std::uint32_t FullResendAfterUnlinkMs = 1000;
    static constexpr std::uint32_t LinkResendMs = 1000;
    static constexpr std::uint32_t TemporaryUnlinkMs = 20;

    ChannelControl(Project& project, UnitSender& units, Timers& timers, SceneTracker& scenes);
    ~ChannelControl() override;
    ChannelControl(const ChannelControl&) = delete;
    ChannelControl& operator=(const ChannelControl&) = delete;

    void addListener(ChannelListener* listener) { m_listeners.add(listener); }
    void removeListener(ChannelListener* listener) { m_listeners.remove(listener); }
    // For changes made elsewhere (a channel renamed by a dialog or a scene recall) that
    // the views must show too.
    void notifyChannelChanged(int channel, ChannelAspect aspect) const { m_listeners.channelChanged(channel, aspect); }
    void notifyAllChannelsChanged() const { m_listeners.allChannelsChanged(); }
    void notifyUnitNameChanged(int unit) const { m_listeners.unitNameChanged(unit); }
    void notifyMeterPreferencesChanged() const { m_listeners.meterPreferencesChanged(); }
    void notifyProjectReplaced() const { m_listeners.projectReplaced(); }
    // The pop-up and title dialog that kinds 8 and 9 open; without them those kinds only
    // run the closing steps.
    void setStripDialogs(ChannelStripDialogs* dialogs) { m_dialogs = dialogs; }

    // --- what the strips, keys and menus call ---

    // kind is a SwitchKind; state is the switch's new state (any value above 0 is on).
    // Unknown kinds and channels outside 0..383 are ignored. Switching 48 V on asks the
    // 48 V guard first unless the caller already did (a drag across switches asks once);
    // false when the guard said no and nothing changed.
    enum class PhantomConfirmation {
        Ask,
        Given
    };
    bool switchChanged(int kind, int channel, int state, PhantomConfirmation confirmation = PhantomConfirmation::Ask);

    // The 48 V guard: while on, switching phantom power on (from a strip, by Undo or
    // Redo, or remotely) asks "Switch 48 V on for <channel title>?". Off by default.
    static constexpr const char* PhantomOnQuestion = "Switch 48 V on for %s?";
    void setOperator(Operator* op) { m_operator = op; }
    void setConfirmPhantomOn(bool on) { m_confirmPhantomOn = on; }
    bool confirmsPhantomOn() const { return m_confirmPhantomOn; }
    // True when the guard is off, no channel is listed, or the operator answered Yes.
    bool confirmPhantomOn(const std::vector<int>& channels);

    // The channel alone to a position (clamped to the fader's range). With altHeld the
    // move unlinks the channel until the drag is over.
    void singleGainMove(int channel, int position, bool altHeld = false);
    // The channel's linked set to a position, relative to the members' references.
    // False when the move was dropped because the group is wider than the fader.
    bool linkedGainMove(int channel, int position);
    // A fader move that no click of the operator made (a remote control's): linked or
    // single as the channel's link calls for, and never taken for the click that closed
    // a dialog. False when a linked move was dropped.
    bool gainMoveFromRemote(int channel, int position);

    void faderGrabbed(int channel);
    // What grabbing the channel's fader records for Undo, without starting a drag.
    void recordGainUndo(int channel);
    void faderMoved(int channel, int position, bool altHeld);
    void faderReleased(int channel);
    bool isDragInProgress() const { return m_dragInProgress; }
    bool isTemporaryUnlinkPending() const { return m_unlinkPending; }

    // Up is one step more gain (a lower position), Down one step less.
    void keyUp();
    void keyDown();

    // Undo puts back the newest entry (a recall as a whole); Redo puts back what the
    // last Undo replaced. Any new change empties the redo list. Each holds the operation
    // gate; each beeps and changes nothing while another operation holds it, while a
    // fader is held, for a recall's entry while the scene lock is on, and when the entry
    // its 48 V question asked about is no longer the newest.
    void undo();
    void redo();
    bool canRedo() const { return m_undo.redoCount() > 0; }
    // A recall: one undo entry holding the live state from before it, which Undo puts
    // back as a recall would.
    void recordStateUndo(std::shared_ptr<const LiveState> before);
    // An import of names: the names and notes are set, and one undo entry holds the old
    // and new texts. Undo and Redo put those back and nothing else: nothing is sent.
    void changeChannelTexts(ChannelTextChanges changes);

    // Changes recorded between these are one undo step (a remote's group mute, pattern
    // or datagram); see UndoHistory::beginGroup.
    void beginUndoGroup(std::uint64_t continuing = 0) { m_undo.beginGroup(continuing); }
    std::uint64_t endUndoGroup() { return m_undo.endGroup(); }
    bool isUndoGrouping() const { return m_undo.isGrouping(); }
    // An entry for a change made by a command that sets live values itself (a paste).
    void recordUndo(const UndoEntry& entry) { m_undo.record(entry); }

    // The one operation at a time: every operation that changes live settings, the
    // scene list or the files holds it for its whole length.
    OperationGate& gate() { return m_gate; }
    const OperationGate& gate() const { return m_gate; }
    // A change that records no undo entry of its own (a rename) still ends redo.
    void clearRedo() { m_undo.clearRedo(); }

    // The channel's MUTE switch as if it were not linked: the one input changes, is sent
    // and recorded for Undo, and the scene is marked and followed.
    void muteAlone(int channel, int state);

    // Ctrl+G and Ctrl+U.
    void setMuteLinkedChannels(bool on);

    // Raised by the closing buttons of certain dialogs: the next single gain move is
    // dropped, so the click that closed the dialog does not move a fader under it. With
    // a clock the flag lapses after DialogJustClosedMs, and a key press clears it, so it
    // never eats a real move made later.
    static constexpr std::uint32_t DialogJustClosedMs = 300;
    void setClock(const Clock* clock) { m_clock = clock; }
    void raiseDialogJustClosed();
    bool isDialogJustClosedRaised() const;
    void keyPressed() { m_dialogJustClosed = false; }
    // While the unit identity check holds the strips, gain moves do nothing.
    void setStripsHeld(bool held) { m_stripsHeld = held; }
    bool stripsHeld() const { return m_stripsHeld; }

    int currentChannel() const { return m_currentChannel; }
    void setCurrentChannel(int channel);

    // --- what the unit link, scenes and start-up call ---

    void saveUnitSettings(int unitNumber) override;
    void restoreUnitSettings(int unitNumber) override;
    // Restores a unit number's eight inputs from a copy the caller kept (the identity
    // check keeps its own, apart from the holding area that units found meanwhile use).
    void restoreUnitSettingsFrom(int unitNumber, const UnitSettingsHolder::Inputs& inputs);

    // Name and notes of a channel (0..383) or a unit (1..48), kept whole; every view is
    // told. Ignored out of range.
    void setChannelText(int channel, const std::string& name, const std::string& notes);
    void setUnitText(int unitNumber, const std::string& name, const std::string& notes);

    // Every channel to its defaults, sent to every present unit; every link group
    // membership cleared. The undo history stays.
    void resetAllChannels();
    // The recall of the Blank Scene: the same, except that each safe setting stays as it
    // is live and is not sent.
    void resetAllChannels(const RecallSafes& safes);

    // Scene recall, one channel: the live settings become `settings` and, when the
    // channel's unit is present, "Pol", "Pad", "48v", "Mute", "Link" are sent in this
    // order and "Gain" once, first or last. The channel's group flags follow its
    // linkGroup. Nothing is recorded for Undo. A safe setting (`safe`) keeps its live
    // value and is not sent.
    enum class GainSendOrder {
        GainFirst,
        GainLast
    };
    void applySceneChannel(int channel, const ChannelSettings& settings, GainSendOrder order, SafeFlags safe = 0);
    // Every group flag cleared; the settings stay (a recall does this first).
    void clearLinkMemberships() { m_linkGroups.clearAllMemberships(); }

    // (Re)starts the one-shot full resend of every present unit.
    void armFullResend(std::uint32_t periodMs = FullResendMs);

    // --- what the views read ---

    const ChannelSettings& settings(int channel) const;
    int gainDbOf(int channel) const;
    std::string overviewGainText(int channel) const;
    std::string underviewGainText(int channel) const;
    // Lit when the channel is in a group and its link is engaged.
    bool isLinkIndicatorLit(int channel) const;
    LinkedSet linkedSet(int channel) const;
    bool reducedGainRange() const;

    const UndoHistory& undoHistory() const { return m_undo; }
    LinkGroupControl& linkGroups() { return m_linkGroups; }
    const LinkGroupControl& linkGroups() const { return m_linkGroups; }
    const UnitSettingsHolder& heldUnitSettings() const { return m_holder; }

private:
    void flagSwitchChange(SwitchKind kind, int channel, int state);
    void muteChange(int channel, int state);
    void linkSwitchChange(int channel, int state);
    void openLinkGroupPopup(int channel);
    void openChannelTitle(int channel);
    void moveSingle(int channel, int position, bool altHeld);
    void setGain(int channel, int position);
    void send(const char* name, double value, int channel);
    void closingSteps(bool updateFollowedScene);
    // Applies an undo or redo step of one channel; returns the step that takes it back.
    std::optional<UndoStep> applyChannelStep(const UndoEntry& entry, bool undoing);
    std::optional<UndoStep> applyLiveStateStep(const UndoStep& step);
    void takeStep(bool undoing);
    // Puts the step back (or forward); returns what takes it the other way.
    std::optional<UndoStep> applyStep(const UndoStep& step, bool undoing);
    void applyChannelTexts(const ChannelTextChanges& changes, bool undoing);
    UndoStep applySteps(const UndoStep& step, bool undoing);
    // The channels a step would switch 48 V on for.
    std::vector<int> phantomSwitchedOnByStep(const UndoStep& step, bool undoing) const;
    // Whether Undo (or Redo) may act on the step now, before its question.
    bool mayTakeStep(const UndoStep& step);
    // Asks the 48 V guard about the step, then checks that the step is still the newest
    // and would switch on just the channels the question named.
    bool confirmStep(const UndoStep& step, bool undoing);
    void beep() const;

    void onFullResendTimer();
    void onLinkResendTimer();
    void onTemporaryUnlinkTimer();

    Project& m_project;
    UnitSender& m_units;
    Timers& m_timers;
    SceneTracker& m_scenes;
    ChannelStripDialogs* m_dialogs = nullptr;
    ChannelListenerList m_listeners;
    UndoHistory m_undo;
    OperationGate m_gate;
    LinkGroupControl m_linkGroups;
    UnitSettingsHolder m_holder;

    // Per channel: the strips show the reset texts until its gain next changes.
    std::array<bool, MaxChannels> m_showsResetGainText{};
    int m_currentChannel = 0;
    bool m_dragInProgress = false;
    bool m_unlinkPending = false;
    int m_unlinkChannel = 0;
    bool m_dialogJustClosed = false;
    std::uint32_t m_dialogClosedAt = 0;
    const Clock* m_clock = nullptr;
    bool m_stripsHeld = false;
    Operator* m_operator = nullptr;
    bool m_confirmPhantomOn = false;
};

} // namespace deskpanel
