#include "ui/views/StripCanvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace deskpanel {

StripCanvas::StripCanvas(Client& client, QWidget* parent) : QWidget(parent), m_client(client)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// Each rectangle of the region on its own: a few meters far apart repaint only
// themselves, not everything between them.
void StripCanvas::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    for (const QRect& area : event->region()) {
        p.save();
        p.setClipRect(area);
        m_client.paintContent(p, area);
        p.restore();
    }
}

void StripCanvas::mousePressEvent(QMouseEvent* event)
{
    m_client.contentPressed(event->position().toPoint(), event->button());
}

void StripCanvas::keyPressEvent(QKeyEvent* event)
{
    if (!m_client.contentKey(event))
        QWidget::keyPressEvent(event);
}

} // namespace deskpanel
