#pragma once
#include <QCache>
#include <QHash>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <functional>

class QPainter;

namespace deskpanel {

// The one store of the program's bitmaps. Every picture is painted by code into its
// logical size; a pixmap is rendered on demand for the device pixel ratio and the size
// it is drawn at, so a picture stays crisp at ratio 2 and when stretched. Controls never
// paint pictures themselves: they ask the registry by number ("162") or name
// ("GRAY_GRADIENT"). A key the registry does not hold leaves its part unpainted.
class ImageRegistry {
public:
    // Paints the picture into (0, 0, logical width, logical height) of the painter.
    using Painter = std::function<void(QPainter&, const QSize&)>;

    enum class DrawMode {
        Fixed,
        Stretch,
        Tile
    };

    // The registry holding the program's artwork, filled on first use.
    static ImageRegistry& instance();

    static QString key(int id) { return QString::number(id); }

    void add(const QString& key, QSize logicalSize, Painter painter);
    void remove(const QString& key);
    bool contains(const QString& key) const { return m_entries.contains(key); }
    // The logical size, or an empty size for an unknown key.
    QSize size(const QString& key) const;
    QStringList keys() const { return m_entries.keys(); }

    // The picture at its own size, or at `stretchedTo` when given, rendered for `dpr`.
    // A null pixmap for an unknown key.
    QPixmap pixmap(const QString& key, qreal dpr = 1.0, QSize stretchedTo = QSize()) const;

    // Drops every rendered pixmap (they are made again when next asked for).
    void clearCache() { m_cache.clear(); }

    // Draws the picture into `target` (Fixed: at its own size from the top-left corner,
    // clipped to the target; Stretch: scaled to fill it; Tile: repeated from the target's
    // top-left corner). Returns false, having drawn nothing, for an unknown key.
    bool draw(QPainter& painter, const QString& key, const QRect& target, DrawMode mode = DrawMode::Stretch) const;
    bool draw(QPainter& painter, int id, const QRect& target, DrawMode mode = DrawMode::Stretch) const
    {
        return draw(painter, key(id), target, mode);
    }
    // Stretches one source column (0-based, in logical pixels) across `target`.
    bool drawColumnStretched(QPainter& painter, const QString& key, int column, const QRect& target) const;

private:
    struct Entry {
        QSize size;
        Painter painter;
    };
    QHash<QString, Entry> m_entries;
    mutable QCache<QString, QPixmap> m_cache{256};
};

} // namespace deskpanel
