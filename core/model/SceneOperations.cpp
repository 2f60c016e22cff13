#include "core/model/SceneOperations.h"

#include "core/host/NamingDialogs.h"
#include "core/host/Operator.h"
#include "core/host/Timers.h"
#include "core/model/ChannelControl.h"
#include "core/model/LiveState.h"
#include "core/model/Project.h"
#include "core/model/RecallPreview.h"
#include "core/model/SceneListListeners.h"
#include "core/model/Text.h"

#include <algorithm>
#include <new>

namespace deskpanel {

SceneOperations::SceneOperations(Project& project, ChannelControl& channels, Operator& op, Timers& timers,
                                 SceneNamingDialogs& naming, std::function<void()> saveAs)
    : m_project(project),
      m_channels(channels),
      m_operator(op),
      m_timers(timers),
      m_naming(naming),
      m_saveAs(std::move(saveAs))
{
    m_timers.setHandler(TimerId::SceneRenumber, [this] { renumberAfterDrag(); });
    m_timers.setHandler(TimerId::SceneButtonRedraw, [this] {
        m_timers.stop(TimerId::SceneButtonRedraw);
        m_listeners.sceneLockChanged(m_sceneLock);
    });
}

SceneOperations::~SceneOperations()
{
    m_timers.clearHandler(TimerId::SceneRenumber);
    m_timers.clearHandler(TimerId::SceneButtonRedraw);
}

void SceneOperations::linesChanged(int select)
{
    m_listeners.sceneLinesChanged();
    m_listeners.sceneSelected(select);
}

// ------------------------------------------------------------------------ store

void SceneOperations::storeNewScene()
{
    if (m_sceneLock)
        return;
    // No entry may be made beyond position 199.
    if (m_project.scenes.isFull()) {
        m_operator.message(ListFullText);
        return;
    }
    if (m_project.scenes.count() == 1 && m_project.projectName == Project::NewProjectName) {
        if (m_operator.decide(UnnamedProjectQuestion) == Decision::Yes && m_saveAs)
            m_saveAs(); // whatever comes of it, the store goes on
    }
    if (m_project.prefs.promptNewScene && m_operator.decide(AreYouSure) != Decision::Yes)
        return;

    const int position = m_project.scenes.count();
    const SceneText held = m_project.scenes.heldText(position);
    const auto entered = m_naming.askNewScene({held.name, held.notes});
    if (!entered)
        return;
    // The position asked for may no longer be the next free one, or there may be none.
    if (m_project.scenes.count() != position || m_project.scenes.isFull())
        return;

    // Cut here, so the line, the scene and the file all carry the same name.
    const std::string name = cutToFieldChars(entered->name);
    try {
        Scene scene;
        scene.name = name;
        scene.notes = cutToFieldChars(entered->notes);
        scene.settings = m_project.snapshotSettings();
        scene.channelNames = m_project.channelNames();
        m_project.scenes.append(std::move(scene));
    } catch (const std::bad_alloc&) {
        m_operator.platformMessage(NoMemoryText);
        return;
    }
    m_project.followedSceneName = name;
    m_project.sceneFollowing = true;
    linesChanged(position);
}

// ----------------------------------------------------------------------- recall

ChannelControl::GainSendOrder SceneOperations::gainSendOrder() const
{
    return m_overviewShown ? ChannelControl::GainSendOrder::GainFirst : ChannelControl::GainSendOrder::GainLast;
}

void SceneOperations::recallSceneWithoutPrompt(int position)
{
    if (m_sceneLock)
        return;
    recallScene(position, RecallOrigin::Remote);
}

ChangeList SceneOperations::recallPreview(int position) const
{
    ChangeList list;
    list.caption = PreviewCaption;
    list.acceptText = "&Recall";
    if (position < 0 || position >= m_project.scenes.count())
        return list;
    const std::string name = position == 0 ? "Blank Scene" : m_project.scenes.scene(position).name;
    if (position == 0)
        list.lines = recallChangeLines(m_project, ChannelSettingsArray{}, nullptr, m_channels.reducedGainRange());
    else
        list.lines = recallChangeLines(m_project, m_project.scenes.scene(position).settings,
                                       &m_project.scenes.scene(position).channelNames, m_channels.reducedGainRange());
    list.heading = format(list.lines.empty() ? PreviewNoChanges : PreviewHeading, name.c_str());
    return list;
}

// The recall question, or the preview in its place when it is switched on.
bool SceneOperations::operatorAllowsRecall(int position)
{
    if (m_previewRecall && m_changeList) {
        if (position < 0 || position >= m_project.scenes.count())
            return false;
        return m_changeList->confirm(recallPreview(position));
    }
    return !m_project.prefs.promptRecallScene || m_operator.decide(AreYouSure) == Decision::Yes;
}

void SceneOperations::recallScene(int position, RecallOrigin origin)
{
    // A recall reached inside another operation (a key or a timer while its box is open)
    // is refused: it would run to its end in the middle of the other.
    auto hold = m_channels.gate().enter("Recall");
    if (!hold) {
        if (origin == RecallOrigin::Operator)
            m_operator.beep();
        return;
    }
    if (origin == RecallOrigin::Operator) {
        if (m_sceneLock)
            return;
        // The entry is found again after the question: the list may change under a box.
        const std::uint64_t id = m_project.scenes.isStoredPosition(position) ? m_project.scenes.idAt(position) : 0;
        if (!operatorAllowsRecall(position))
            return;
        if (id != 0)
            position = m_project.scenes.positionOf(id) > 0 ? m_project.scenes.positionOf(id) : -1;
    }
    if (position < 0 || position >= m_project.scenes.count())
        return;

    auto before = std::make_shared<const LiveState>(LiveState::of(m_project));
    m_project.activeSceneIndex = position;
    if (position == 0) {
        m_project.followedSceneName = SceneList::BlankSceneText;
        m_project.activeSceneName = SceneList::BlankSceneText;
        m_channels.resetAllChannels(m_project.recallSafes);
        m_channels.recordStateUndo(std::move(before));
        m_listeners.activeSceneChanged();
        return;
    }

    // A copy: the views told of each channel must not see the scene change under them.
    const Scene scene = m_project.scenes.scene(position);
    m_project.followedSceneName = scene.name;
    m_project.activeSceneName = scene.name;
    m_project.sceneFollowing = true;

    const auto order = gainSendOrder();
    m_channels.clearLinkMemberships();
    for (int c = 0; c < MaxChannels; ++c) {
        const auto index = static_cast<std::size_t>(c);
        m_channels.applySceneChannel(c, scene.settings[index], order, m_project.recallSafes.flags(c));
        m_project.channels[index].name = scene.channelNames[index];
        m_channelListeners.channelChanged(c, ChannelAspect::Name);
    }
    m_channels.recordStateUndo(std::move(before));
    m_listeners.activeSceneChanged();
    m_channels.armFullResend(ChannelControl::FullResendMs);
}

// Puts back what a recall changed, and nothing it left alone: the settings kept then
// stay as they are live, while the link reference the recall moved returns too.
void SceneOperations::restoreLiveState(const LiveState& state)
{
    const auto order = gainSendOrder();
    m_channels.clearLinkMemberships();
    for (int c = 0; c < MaxChannels; ++c) {
        const auto index = static_cast<std::size_t>(c);
        const ChannelSettings& wanted = state.settings[index];
        m_channels.applySceneChannel(c, wanted, order, state.kept.flags(c));
        ChannelSettings& live = m_project.live[index];
        // A recall engages exactly the lit links; the state before it may have differed.
        live.linkActive = wanted.linkActive;
        if (state.kept.has(c, SafeFlag::Gain))
            live.gainAux = std::clamp<std::int32_t>(wanted.gainAux, 0, MaxGainPosition);
        m_project.channels[index].name = state.names[index];
        m_channelListeners.channelChanged(c, ChannelAspect::Name);
    }
    const int active = state.activeSceneId != 0 ? m_project.scenes.positionOf(state.activeSceneId) : 0;
    m_project.activeSceneIndex = active;
    m_project.activeSceneName = active > 0                 ? m_project.scenes.scene(active).name
                                : state.activeSceneId != 0 ? SceneList::BlankSceneText
                                                           : state.activeSceneName;
    // The followed scene by identity: renamed meanwhile it is still followed under its
    // new name; deleted, no scene follows.
    const int followed = state.followedSceneId != 0 ? m_project.scenes.positionOf(state.followedSceneId) : 0;
    if (followed > 0)
        m_project.followedSceneName = m_project.scenes.scene(followed).name;
    else if (state.followedSceneId == 0 && state.followedSceneName == SceneList::BlankSceneText)
        m_project.followedSceneName = SceneList::BlankSceneText;
    else
        m_project.followedSceneName.clear();
    m_project.scenes.clearModifiedMarkers();
    for (std::uint64_t id : state.markedScenes)
        if (const int p = m_project.scenes.positionOf(id); p > 0)
            m_project.scenes.setModified(p);
    m_listeners.activeSceneChanged();
    linesChanged(active);
    m_channels.armFullResend(ChannelControl::FullResendMs);
}

// ----------------------------------------------------------------------- rename

void SceneOperations::renameScene(int position)
{
    if (m_sceneLock || position < 0 || position >= m_project.scenes.count())
        return;
    m_listeners.sceneSelected(position);

    const bool stored = position > 0;
    const std::uint64_t id = stored ? m_project.scenes.idAt(position) : 0;
    const std::string name = stored ? m_project.scenes.scene(position).name : "Blank Scene";
    const std::string notes = stored ? m_project.scenes.scene(position).notes : "";
    const auto entered =
        m_naming.askRenameScene(format("Enter a new name for the '%s' scene", name.c_str()), {name, notes});

    int selected = position;
    if (stored) {
        selected = m_project.scenes.positionOf(id);
        if (entered && selected > 0) {
            m_channels.clearRedo();
            Scene& scene = m_project.scenes.scene(selected);
            scene.name = cutToFieldChars(entered->name);
            scene.notes = cutToFieldChars(entered->notes);
        }
    }
    m_project.scenes.renumber();
    linesChanged(selected);
}

// ----------------------------------------------------------------------- delete

void SceneOperations::deleteScene(int position)
{
    if (m_sceneLock)
        return;
    if (position == m_project.activeSceneIndex) {
        m_operator.message(ActiveSceneText);
        return;
    }
    const std::uint64_t id = m_project.scenes.isStoredPosition(position) ? m_project.scenes.idAt(position) : 0;
    if (m_project.prefs.promptSceneDelete && m_operator.decide(AreYouSure) != Decision::Yes)
        return;
    const int at = id ? m_project.scenes.positionOf(id) : 0;
    if (at <= 0) {
        m_operator.beep();
        return;
    }
    // Found again after the question: the active scene may have moved meanwhile.
    if (at == m_project.activeSceneIndex) {
        m_operator.message(ActiveSceneText);
        return;
    }

    m_project.scenes.removeAt(at);
    if (m_project.activeSceneIndex > at) {
        --m_project.activeSceneIndex;
        m_listeners.activeSceneChanged();
    }
    linesChanged(at - 1);
}

// ---------------------------------------------------------------------- re-order

void SceneOperations::dragStarted(int position)
{
    if (m_sceneLock || position < 0 || position >= m_project.scenes.count()) {
        m_dragSource = -1;
        return;
    }
    m_dragSource = position;
    m_dragMoved = false;
    // The list is not scrolled here: it must stay put under the pointer that pressed it
    // (the window moves its scroll bar only).
    if (m_project.prefs.promptSceneReorder && !m_backupTaken) {
        m_backup = m_project.scenes.order();
        m_backupTaken = true;
    }
}

void SceneOperations::draggedOver(int position)
{
    const int s = m_dragSource;
    if (s < 0)
        return;
    const bool stepDown = position == s + 1 && s > 0 && position < m_project.scenes.count();
    const bool stepUp = position == s - 1 && position > 0;
    if (!stepDown && !stepUp)
        return;

    const std::string activeLine = m_project.scenes.displayLine(m_project.activeSceneIndex);
    m_project.scenes.swapWithNext(stepDown ? s : position);
    m_dragSource = position;
    m_dragMoved = true;

    // The active scene is the entry whose line it had; lines keep their old numbers
    // until the button is released, so the line still names it.
    for (int p = 1; p < m_project.scenes.count(); ++p) {
        if (m_project.scenes.displayLine(p) == activeLine) {
            m_project.activeSceneIndex = p;
            break;
        }
    }
    m_listeners.activeSceneChanged();
    linesChanged(position);
}

void SceneOperations::dragEnded()
{
    const bool moved = m_dragSource >= 0 && m_dragMoved;
    m_dragSource = -1;
    m_dragMoved = false;
    if (moved) {
        m_timers.start(TimerId::SceneRenumber, RenumberDelayMs);
    } else if (!m_timers.isRunning(TimerId::SceneRenumber)) {
        // A click without a step changes nothing and asks nothing.
        m_backupTaken = false;
        m_backup.clear();
    }
}

void SceneOperations::renumberAfterDrag()
{
    m_timers.stop(TimerId::SceneRenumber);
    m_project.scenes.renumber();
    linesChanged(m_project.activeSceneIndex);
    if (!m_backupTaken)
        return;

    const std::vector<std::uint64_t> backup = std::move(m_backup);
    m_backup.clear();
    m_backupTaken = false;
    if (m_operator.decide(AreYouSure) == Decision::Yes)
        return;

    // Back to the order before the drag; the active scene stays the same scene.
    const int active = m_project.activeSceneIndex;
    const std::uint64_t activeId = m_project.scenes.isStoredPosition(active) ? m_project.scenes.idAt(active) : 0;
    m_project.scenes.restoreOrder(backup);
    m_project.scenes.renumber();
    if (activeId)
        m_project.activeSceneIndex = m_project.scenes.positionOf(activeId);
    m_listeners.activeSceneChanged();
    linesChanged(m_project.activeSceneIndex);
}

// ------------------------------------------------------------------------- lock

void SceneOperations::toggleSceneLock()
{
    m_sceneLock = !m_sceneLock;
    m_listeners.sceneLockChanged(m_sceneLock);
    m_timers.start(TimerId::SceneButtonRedraw, ButtonRedrawMs);
}

// ---------------------------------------------------------------- scene tracker

void SceneOperations::markActiveSceneModified()
{
    const int active = m_project.activeSceneIndex;
    if (!m_project.scenes.isStoredPosition(active) || m_project.scenes.isModified(active))
        return;
    m_project.scenes.setModified(active);
    linesChanged(active);
}

void SceneOperations::updateFollowedScene()
{
    if (!m_project.sceneFollowing)
        return;
    const int followed = m_project.scenes.findByName(m_project.followedSceneName);
    if (followed == 0)
        return;
    // The settings only: a scene's channel names change when it is stored or saved. A
    // safe setting keeps the scene's value, so a recall never changes its scene.
    ChannelSettingsArray& stored = m_project.scenes.scene(followed).settings;
    ChannelSettingsArray written = m_project.snapshotSettings();
    m_project.recallSafes.keepStoredSafeSettings(written, stored);
    stored = written;
}

} // namespace deskpanel
