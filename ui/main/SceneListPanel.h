#pragma once
#include "core/model/SceneListListener.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QObject>

#include <functional>

namespace deskpanel {
class ScrollBar;

class Project;
class SceneOperations;

// The scene list with its scroll bar: shows the project's scene lines and turns the
// operator's mouse actions on it into scene operations (drag re-ordering, double-click
// recall, right-click rename). While the scene lock is on it is a plain list.
class SceneListPanel : public QObject, public SceneListListener {
public:
    // `rangeVisible`: entries the scroll range leaves out (6 at exactly 96 pixels per
    // inch, else 4); `dragScrollIndex`: the hovered index from which a drag scrolls.
    SceneListPanel(Project& project, SceneOperations& scenes, QWidget* parent, const QRect& listRect,
                   const QRect& barRect, int dpiY, int rangeVisible, int dragScrollIndex, bool exactly96);

    QListWidget* list() const { return m_list; }
    ScrollBar* scrollBar() const { return m_bar; }
    int topEntry() const;
    void setTopEntry(int top);
    QRect entryRect(int index) const { return m_list->visualItemRect(m_list->item(index)); }
    void moveBy(int dx);

    // The active scene's number or name changed: the window repaints label and header.
    std::function<void()> onActiveSceneChanged;
    std::function<void(bool locked)> onLockChanged;
    // A key refused while the scene lock is on: the beep.
    std::function<void()> onRefused;

    // SceneListListener
    void sceneLinesChanged() override;
    void sceneSelected(int position) override;
    void sceneListScrolled(int topPosition) override;
    void activeSceneChanged() override;
    void sceneLockChanged(bool locked) override;

    void updateScrollRange();

    // The keys of a list reached by keyboard: F2 renames the selected scene, Ctrl+Up and
    // Ctrl+Down move it one place (the mouse's rename and drag); each beeps while the
    // scene lock is on. True when the key was one of them.
    bool keyboardKey(const QKeyEvent* key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool mouseEvent(QEvent* event);
    // The list's accessible description: the active scene's line.
    void describeActiveScene();
    void selectWithoutScrolling(int index);
    void dragOver(int index);
    void scrolled(int code, int position);
    int indexAt(const QPoint& viewportPoint) const;

    Project& m_project;
    SceneOperations& m_scenes;
    QListWidget* m_list;
    ScrollBar* m_bar;
    int m_rangeVisible;
    int m_dragScrollIndex;
    bool m_exactly96;
    bool m_leftDown = false;
    bool m_dragging = false;
    int m_dragOrigin = -1;
};

} // namespace deskpanel
