#pragma once
#include "core/model/ChannelListener.h"
#include "ui/controls/GlassDialog.h"

#include <QTimer>

#include <functional>

namespace deskpanel {
class ScrollBar;

class ChannelControl;
class HelpOpener;
class LinkMatrixView;
class Operator;
class Project;
class SceneTracker;

// The Link dialog: the link matrix with its scroll bar, "&OK" and "&Help". A double
// click on a row header lists the group's members, a right click names the group, a
// right click on a cell opens the channel title dialog; the matrix is off the screen meanwhile
// and allows dragging again 200 ms after it shows again. Changes act at once; OK refreshes
// the followed scene and closes. H opens the link help; Enter and O act as OK; Escape
// closes without touching the followed scene.
class LinkMatrixDialog : public GlassDialog, private ChannelListener {
    Q_OBJECT
public:
    static constexpr int DragGateMs = 200;
    static constexpr int PageColumns = 8;

    // `editChannelTitle` opens the channel title dialog for a channel.
    LinkMatrixDialog(Project& project, ChannelControl& channels, SceneTracker& scenes, Operator& op, HelpOpener& help,
                     std::function<void(int channel)> editChannelTitle, QWidget* parent = nullptr);
    ~LinkMatrixDialog() override;

    LinkMatrixView* matrix() const { return m_matrix; }
    ScrollBar* scrollBar() const { return m_scrollBar; }

    // Escape and closing the window: the matrix closes, the followed scene stays as stored.
    void reject() override;

protected:
    void onCommand(int id) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onScrolled(int code, int position);
    // Runs one of the dialogs the matrix opens, with the matrix off the screen meanwhile.
    void runHidden(const std::function<void()>& dialog);
    QPoint offScreenPosition() const;
    void showMembers(int group);
    void nameGroup(int group);
    // Any change of memberships, names or titles: the matrix and its headers again.
    void refresh();
    void channelChanged(int, ChannelAspect) override { refresh(); }
    void allChannelsChanged() override { refresh(); }
    void linkGroupTextChanged(int) override { refresh(); }
    void unitNameChanged(int) override { refresh(); }

    Project& m_project;
    ChannelControl& m_channels;
    SceneTracker& m_scenes;
    Operator& m_operator;
    HelpOpener& m_help;
    std::function<void(int)> m_editChannelTitle;
    LinkMatrixView* m_matrix = nullptr;
    ScrollBar* m_scrollBar = nullptr;
    QTimer m_dragGate;
};

} // namespace deskpanel
