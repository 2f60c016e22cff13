#include "ui/views/StripPictures.h"

#include "ui/controls/ImageRegistry.h"

#include <QPaintDevice>
#include <QPainter>

namespace deskpanel {

void StripPictures::draw(QPainter& p, int id, const QRect& target)
{
    if (target.isEmpty())
        return;
    const qreal dpr = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    if (dpr != m_dpr) {
        m_pixmaps.clear();
        m_dpr = dpr;
    }
    const quint64 key =
        (quint64(quint32(id)) << 32) | (quint64(target.width() & 0xffff) << 16) | quint64(target.height() & 0xffff);
    auto it = m_pixmaps.find(key);
    if (it == m_pixmaps.end())
        it = m_pixmaps.insert(key, ImageRegistry::instance().pixmap(ImageRegistry::key(id), dpr, target.size()));
    if (!it->isNull())
        p.drawPixmap(target.topLeft(), *it);
}

} // namespace deskpanel
