#include "ui/main/SceneListPanel.h"

#include "core/model/DeskRecall.h"
#include "core/model/Project.h"
#include "core/model/SceneOperations.h"
#include "ui/controls/FontMapper.h"
#include "ui/controls/ScrollBar.h"

#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace deskpanel {

SceneListPanel::SceneListPanel(Project& project, SceneOperations& scenes, QWidget* parent, const QRect& listRect,
                               const QRect& barRect, int dpiY, int rangeVisible, int dragScrollIndex, bool exactly96)
    : QObject(parent),
      m_project(project),
      m_scenes(scenes),
      m_list(new QListWidget(parent)),
      m_rangeVisible(rangeVisible),
      m_dragScrollIndex(dragScrollIndex),
      m_exactly96(exactly96)
{
    m_list->setObjectName(QStringLiteral("sceneList"));
    m_list->setAccessibleName(QStringLiteral("Scenes"));
    m_list->setGeometry(listRect);
    m_list->setFont(FontMapper::font(QStringLiteral("Arial"), 100, 400, dpiY));
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->viewport()->installEventFilter(this);
    // A line selected by a screen reader's select action becomes the current one, which
    // the scene buttons act on, as a click makes it.
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = m_list->selectedItems();
        if (selected.size() == 1 && m_list->currentItem() != selected.front())
            m_list->setCurrentItem(selected.front());
    });

    m_bar = ScrollBar::create(ScrollBar::Vertical, parent, barRect, 1915);
    if (m_bar) {
        connect(m_bar, &ScrollBar::scrolled, this, [this](int code, int position) { scrolled(code, position); });
        // The wheel and the keys scroll the list itself: the bar follows.
        connect(m_list->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int top) {
            if (!m_bar->isDragging())
                m_bar->setScrollPos(std::min(top, m_bar->maximum()));
        });
    }
    sceneLinesChanged();
    sceneSelected(0);
}

int SceneListPanel::topEntry() const
{
    return m_list->verticalScrollBar()->value();
}

void SceneListPanel::setTopEntry(int top)
{
    // The top entry always names an entry of the list.
    m_list->verticalScrollBar()->setValue(std::clamp(top, 0, std::max(0, m_list->count() - 1)));
}

void SceneListPanel::moveBy(int dx)
{
    m_list->move(m_list->pos() + QPoint(dx, 0));
    if (m_bar)
        m_bar->move(m_bar->pos() + QPoint(dx, 0));
}

void SceneListPanel::updateScrollRange()
{
    if (m_bar)
        m_bar->setScrollRange(0, std::max(0, m_list->count() - m_rangeVisible + 1));
}

void SceneListPanel::sceneLinesChanged()
{
    const int top = topEntry();
    const auto lines = m_project.scenes.displayLines();
    m_list->setUpdatesEnabled(false);
    while (m_list->count() > int(lines.size()))
        delete m_list->takeItem(m_list->count() - 1);
    for (int i = 0; i < int(lines.size()); ++i) {
        const QString text = QString::fromStdString(lines[std::size_t(i)]);
        if (i < m_list->count())
            m_list->item(i)->setText(text);
        else
            m_list->addItem(text);
        // The list pads its lines; a reader reads them without the padding.
        m_list->item(i)->setData(Qt::AccessibleTextRole, text.trimmed());
    }
    describeActiveScene();
    m_list->setUpdatesEnabled(true);
    setTopEntry(top);
    updateScrollRange();
}

void SceneListPanel::sceneSelected(int position)
{
    if (position >= 0 && position < m_list->count())
        m_list->setCurrentRow(position);
    else
        m_list->clearSelection();
}

void SceneListPanel::sceneListScrolled(int topPosition)
{
    setTopEntry(topPosition);
    if (m_bar)
        m_bar->setScrollPos(topEntry());
}

void SceneListPanel::describeActiveScene()
{
    const int active = m_project.activeSceneIndex;
    const QString line = active >= 0 && active < m_project.scenes.count()
                             ? QString::fromStdString(m_project.scenes.displayLine(active)).trimmed()
                             : QString();
    if (m_list->accessibleDescription() != line)
        m_list->setAccessibleDescription(line);
}

void SceneListPanel::activeSceneChanged()
{
    describeActiveScene();
    if (onActiveSceneChanged)
        onActiveSceneChanged();
}

void SceneListPanel::sceneLockChanged(bool locked)
{
    if (onLockChanged)
        onLockChanged(locked);
}

int SceneListPanel::indexAt(const QPoint& viewportPoint) const
{
    const QListWidgetItem* item = m_list->itemAt(viewportPoint);
    return item ? m_list->row(item) : -1;
}

void SceneListPanel::scrolled(int code, int position)
{
    if (m_list->count() <= 1) {
        m_bar->setScrollPos(0);
        return;
    }
    switch (code) {
    case ScrollBar::ThumbTrack:
    case ScrollBar::ThumbPosition: setTopEntry(position); break;
    case ScrollBar::LineUp:
    case ScrollBar::LineDown:
        if (position >= m_bar->minimum() && position <= m_bar->maximum())
            setTopEntry(position);
        break;
    case ScrollBar::PageUp: setTopEntry(0); break;
    case ScrollBar::PageDown: setTopEntry(m_bar->maximum()); break;
    default: break;
    }
}

bool SceneListPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list->viewport()) {
        // A locked list is a plain list: selection only.
        if (m_scenes.sceneLock())
            return event->type() == QEvent::MouseButtonDblClick;
        if (event->isInputEvent() || event->type() == QEvent::Enter)
            updateScrollRange();
        return mouseEvent(event);
    }
    return QObject::eventFilter(watched, event);
}

bool SceneListPanel::mouseEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const int index = indexAt(mouse->position().toPoint());
        if (mouse->button() == Qt::RightButton) {
            if (index < 0)
                return true;
            const int top = topEntry();
            selectWithoutScrolling(index);
            m_scenes.renameScene(index);
            setTopEntry(top);
            return true;
        }
        if (mouse->button() != Qt::LeftButton)
            return false;
        m_leftDown = true;
        m_dragging = false;
        m_dragOrigin = index;
        // Only the bar moves: the list stays put under the pointer, so the entry pressed
        // is the one selected, dragged and recalled by a double click.
        if (index > 2 && m_bar)
            m_bar->setScrollPos(index - 3);
        selectWithoutScrolling(index);
        m_scenes.dragStarted(index);
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!m_leftDown || !(mouse->buttons() & Qt::LeftButton))
            return false;
        dragOver(indexAt(mouse->position().toPoint()));
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (!m_leftDown)
            return false;
        m_leftDown = false;
        const int top = topEntry();
        m_scenes.dragEnded();
        if (m_dragging)
            setTopEntry(top);
        m_dragging = false;
        return false;
    }
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const int index = indexAt(mouse->position().toPoint());
        if (mouse->button() != Qt::LeftButton || index < 0)
            return true;
        selectWithoutScrolling(index);
        recallFromDesk(m_scenes, m_project, index);
        return true;
    }
    default: return false;
    }
}

bool SceneListPanel::keyboardKey(const QKeyEvent* key)
{
    const bool rename = key->key() == Qt::Key_F2 && key->modifiers() == Qt::NoModifier;
    const bool up = key->key() == Qt::Key_Up && key->modifiers() == Qt::ControlModifier;
    const bool down = key->key() == Qt::Key_Down && key->modifiers() == Qt::ControlModifier;
    if (!rename && !up && !down)
        return false;
    if (m_scenes.sceneLock()) {
        if (onRefused)
            onRefused();
        return true;
    }
    const int selected = m_list->currentRow();
    if (selected < 0)
        return true;
    if (rename) {
        m_scenes.renameScene(selected);
        return true;
    }
    // One step of a drag: the Blank Scene stays first, and the renumbering and the
    // re-ordering question follow as after a drag.
    m_scenes.dragStarted(selected);
    m_scenes.draggedOver(up ? selected - 1 : selected + 1);
    m_scenes.dragEnded();
    return true;
}

void SceneListPanel::selectWithoutScrolling(int index)
{
    if (index < 0)
        return;
    // Selecting scrolls a partly hidden entry into view; the list keeps its top line.
    const int top = topEntry();
    m_list->setCurrentRow(index);
    setTopEntry(top);
}

void SceneListPanel::dragOver(int index)
{
    const int origin = m_dragOrigin;
    // The Blank Scene never moves, and nothing moves onto it.
    if (index <= 0 || origin <= 0 || index == origin)
        return;
    const bool down = index == origin + 1;
    const bool up = index == origin - 1;
    if (!down && !up)
        return;
    const int before = m_project.scenes.count();
    m_scenes.draggedOver(index);
    if (m_project.scenes.count() != before)
        return;
    m_dragging = true;
    m_dragOrigin = index;
    const int entries = m_list->count();
    if (down && index >= m_dragScrollIndex) {
        if (m_exactly96)
            setTopEntry(topEntry() + 1);
        if (m_bar)
            m_bar->setScrollPos(std::clamp(std::min(index - m_dragScrollIndex + 1, entries - m_dragScrollIndex - 1), 0,
                                           m_bar->maximum()));
    } else if (up && index == topEntry()) {
        setTopEntry(topEntry() - 1);
        if (m_bar)
            m_bar->setScrollPos(topEntry());
    }
}

} // namespace deskpanel
