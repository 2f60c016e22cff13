#include "ui/controls/ImageRegistry.h"

#include "ui/controls/artwork/Artwork.h"

#include <QCoreApplication>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace deskpanel {

ImageRegistry& ImageRegistry::instance()
{
    static ImageRegistry registry;
    static const bool filled = [] {
        artwork::registerAll(registry);
        // Pixmaps must not outlive the application object that made them.
        if (QCoreApplication* app = QCoreApplication::instance())
            QObject::connect(app, &QObject::destroyed, [] { registry.clearCache(); });
        return true;
    }();
    (void)filled;
    return registry;
}

void ImageRegistry::add(const QString& key, QSize logicalSize, Painter painter)
{
    m_entries.insert(key, Entry{logicalSize, std::move(painter)});
    m_cache.clear();
}

void ImageRegistry::remove(const QString& key)
{
    m_entries.remove(key);
    m_cache.clear();
}

QSize ImageRegistry::size(const QString& key) const
{
    auto it = m_entries.constFind(key);
    return it == m_entries.constEnd() ? QSize() : it->size;
}

QPixmap ImageRegistry::pixmap(const QString& key, qreal dpr, QSize stretchedTo) const
{
    auto it = m_entries.constFind(key);
    if (it == m_entries.constEnd() || it->size.isEmpty())
        return {};
    if (dpr <= 0 || !std::isfinite(dpr))
        dpr = 1.0;
    const QSize logical = stretchedTo.isValid() && !stretchedTo.isEmpty() ? stretchedTo : it->size;
    const QString cacheKey = QStringLiteral("%1@%2x%3@%4").arg(key).arg(logical.width()).arg(logical.height()).arg(dpr);
    if (const QPixmap* cached = m_cache.object(cacheKey))
        return *cached;

    const QSize device(int(std::ceil(logical.width() * dpr)), int(std::ceil(logical.height() * dpr)));
    QPixmap pm(device);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.scale(dpr * logical.width() / it->size.width(), dpr * logical.height() / it->size.height());
        it->painter(p, it->size);
    }
    pm.setDevicePixelRatio(dpr);
    m_cache.insert(cacheKey, new QPixmap(pm));
    return pm;
}

static qreal ratioOf(const QPainter& painter)
{
    const QPaintDevice* dev = painter.device();
    return dev ? dev->devicePixelRatioF() : 1.0;
}

bool ImageRegistry::draw(QPainter& painter, const QString& key, const QRect& target, DrawMode mode) const
{
    if (!contains(key) || target.isEmpty())
        return contains(key);
    const qreal dpr = ratioOf(painter);
    switch (mode) {
    case DrawMode::Fixed: {
        const QPixmap pm = pixmap(key, dpr);
        painter.save();
        painter.setClipRect(target, Qt::IntersectClip);
        painter.drawPixmap(target.topLeft(), pm);
        painter.restore();
        break;
    }
    case DrawMode::Stretch: painter.drawPixmap(target.topLeft(), pixmap(key, dpr, target.size())); break;
    case DrawMode::Tile: {
        const QPixmap pm = pixmap(key, dpr);
        painter.drawTiledPixmap(target, pm);
        break;
    }
    }
    return true;
}

bool ImageRegistry::drawColumnStretched(QPainter& painter, const QString& key, int column, const QRect& target) const
{
    const QSize logical = size(key);
    if (logical.isEmpty())
        return false;
    if (target.isEmpty())
        return true;
    const qreal dpr = ratioOf(painter);
    const QPixmap pm = pixmap(key, dpr);
    const int col = std::clamp(column, 0, logical.width() - 1);
    const QRectF source(col * dpr, 0, dpr, logical.height() * dpr);
    painter.drawPixmap(QRectF(target), pm, source);
    return true;
}

} // namespace deskpanel
