#pragma once
#include "core/host/ChangeListDialog.h"
#include "core/model/ChannelControl.h"
#include "core/model/ChannelListener.h"
#include "core/model/SceneListListeners.h"
#include "core/model/SceneTracker.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace deskpanel {

class ChangeListDialog;
class ChannelControl;
class Operator;
class Project;
class SceneNamingDialogs;
class Timers;

// What the scene panel and the scene list do: store, recall, rename, delete and
// re-order scenes, the scene lock, and the modified markers. Applies scenes through
// the channel control and asks the operator through the Operator and naming dialogs.
//
// Positions are list positions (0 the Blank Scene); -1 stands for "no entry selected".
// A modal box runs timers and datagrams inside it, so after every question a scene is
// found again by its identity rather than by a position held from before.
//
// Owns the timers SceneButtonRedraw (15) and SceneRenumber.
class SceneOperations : public SceneTracker {
public:
    static constexpr const char* AreYouSure = "Are you sure?";
    static constexpr const char* UnnamedProjectQuestion =
        "This is a new scene for an un-named project.\nWould you like to create a new project name?";
    static constexpr const char* ActiveSceneText = "This is an Active Scene: it cannot be deleted.";
    static constexpr const char* ListFullText =
        "The scene list is full: 199 scenes are stored.\nDelete a scene before storing a new one.";
    static constexpr const char* NoMemoryText = "Cannot allocate memory for new scene.";
    static constexpr std::uint32_t RenumberDelayMs = 500;
    static constexpr std::uint32_t ButtonRedrawMs = 300;

    // `saveAs` runs Save As (it may be cancelled; the store goes on either way).
    SceneOperations(Project& project, ChannelControl& channels, Operator& op, Timers& timers,
                    SceneNamingDialogs& naming, std::function<void()> saveAs);
    ~SceneOperations() override;
    SceneOperations(const SceneOperations&) = delete;
    SceneOperations& operator=(const SceneOperations&) = delete;

    void addListener(SceneListListener* listener) { m_listeners.add(listener); }
    void removeListener(SceneListListener* listener) { m_listeners.remove(listener); }
    // Told when a recall gives channels their stored names.
    void addChannelListener(ChannelListener* listener) { m_channelListeners.add(listener); }
    void removeChannelListener(ChannelListener* listener) { m_channelListeners.remove(listener); }
    // A recall sends "Gain" first while the overview is shown, last for the underview.
    void setOverviewShown(bool shown) { m_overviewShown = shown; }

    // Whether the operator's recalls show the change list instead of the recall
    // question, and the dialog that shows it.
    void setPreviewRecall(bool on) { m_previewRecall = on; }
    bool previewsRecall() const { return m_previewRecall; }
    void setChangeListDialog(ChangeListDialog* dialog) { m_changeList = dialog; }
    static constexpr const char* PreviewCaption = " Recall Scene";
    static constexpr const char* PreviewHeading = "Recalling '%s' changes these inputs:";
    static constexpr const char* PreviewNoChanges = "Recalling '%s' changes no input.";

    // Who asks for a recall: the operator (the recall question or the preview, and the
    // scene lock) or a remote controller (neither). Both keep the recall safes and
    // record one undo entry for the whole recall.
    enum class RecallOrigin {
        Operator,
        Remote
    };

    void storeNewScene();
    void recallScene(int position, RecallOrigin origin = RecallOrigin::Operator);
    // What a recall of the entry would change, as the preview shows it.
    ChangeList recallPreview(int position) const;
    // A recall that no one at the desk asked for (a remote's): never prompted, since no
    // one would be there to answer; the scene lock still holds, and every other rule of
    // a recall.
    void recallSceneWithoutPrompt(int position);
    void renameScene(int position);
    void deleteScene(int position);

    // Dragging with the left button: down on an entry, over entries, up.
    void dragStarted(int position);
    void draggedOver(int position);
    void dragEnded();

    void toggleSceneLock();
    bool sceneLock() const { return m_sceneLock; }

    // SceneTracker: called by the channel control after an operator's change.
    void markActiveSceneModified() override;
    void updateFollowedScene() override;
    void restoreLiveState(const LiveState& state) override;
    bool isSceneLocked() const override { return m_sceneLock; }

private:
    void renumberAfterDrag();
    void linesChanged(int select);
    bool operatorAllowsRecall(int position);
    ChannelControl::GainSendOrder gainSendOrder() const;

    Project& m_project;
    ChannelControl& m_channels;
    Operator& m_operator;
    Timers& m_timers;
    SceneNamingDialogs& m_naming;
    std::function<void()> m_saveAs;
    SceneListListeners m_listeners;
    ChannelListenerList m_channelListeners;
    bool m_overviewShown = false;
    bool m_sceneLock = false;
    bool m_previewRecall = false;
    ChangeListDialog* m_changeList = nullptr;

    int m_dragSource = -1; // -1 when no drag is under way
    bool m_dragMoved = false;
    // The order before the drag, while a re-order question may still come: kept
    // until the renumbering, so a second drag within the 500 ms adds to the same one.
    bool m_backupTaken = false;
    std::vector<std::uint64_t> m_backup;
};

} // namespace deskpanel
