#include "ui/views/UnderviewWindow.h"

#include <QPalette>

namespace deskpanel {

// An empty panel of the right size until the strips are drawn.
UnderviewWindow::UnderviewWindow(DeskPanelApp& app, DialogLauncher& dialogs, QWidget* parent)
    : StripView(parent), m_app(app), m_dialogs(dialogs)
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(80, 96, 128));
    setPalette(p);
}

void UnderviewWindow::setScrollOffset(int offset)
{
    m_offset = offset;
    update();
}

void UnderviewWindow::refreshFromModel()
{
    update();
}

} // namespace deskpanel
