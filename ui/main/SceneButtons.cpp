#include "ui/main/SceneButtons.h"

#include "ui/controls/PictureButton.h"
#include "ui/main/MainLayout.h"

namespace deskpanel {

SceneButtons::SceneButtons(QWidget* parent, const MainLayout& layout, std::function<void(int)> onClick)
    : QObject(parent)
{
    struct ButtonLook {
        int id;
        const char *normal, *pressed, *disabled;
        QRect rect;
    };
    const ButtonLook looks[] = {{PictureButton::RecallId, "183", "187", "141", layout.recallButton},
                                {PictureButton::NewId, "180", "182", "139", layout.newButton},
                                {PictureButton::DeleteId, "184", "185", "140", layout.deleteButton},
                                {PictureButton::LockId, "178", "179", "179", layout.lockButton},
                                {PictureButton::OverviewId, "174", "175", "175", layout.overviewButton}};
    int i = 0;
    for (const ButtonLook& s : looks) {
        PictureButton* b =
            PictureButton::create(parent, s.id, QString::fromLatin1(s.normal), QString::fromLatin1(s.pressed),
                                  QString::fromLatin1(s.disabled), s.rect);
        m_buttons[i++] = b;
        if (b)
            connect(b, &PictureButton::clicked, this, [onClick](int id) { onClick(id); });
    }
}

PictureButton* SceneButtons::button(int controlId) const
{
    for (PictureButton* b : m_buttons)
        if (b && b->controlId() == controlId)
            return b;
    return nullptr;
}

void SceneButtons::showLock(bool locked)
{
    if (PictureButton* lock = button(PictureButton::LockId))
        lock->setState(locked ? PictureButton::Pressed : PictureButton::Normal);
    for (int id : {PictureButton::NewId, PictureButton::DeleteId, PictureButton::RecallId})
        if (PictureButton* b = button(id))
            b->setState(locked ? PictureButton::Disabled : PictureButton::Normal);
}

void SceneButtons::showOverview(bool shown)
{
    if (PictureButton* b = button(PictureButton::OverviewId))
        b->setState(shown ? PictureButton::Pressed : PictureButton::Normal);
}

void SceneButtons::setOverviewShownQuery(std::function<bool()> query)
{
    if (PictureButton* b = button(PictureButton::OverviewId))
        b->setOverviewShownQuery(std::move(query));
}

void SceneButtons::moveBy(int dx)
{
    for (PictureButton* b : m_buttons)
        if (b)
            b->move(b->pos() + QPoint(dx, 0));
}

} // namespace deskpanel
