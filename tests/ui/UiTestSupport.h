#pragma once
#include <QColor>
#include <QImage>
#include <QWidget>

namespace uitest {

// The widget rendered as the screen would show it.
inline QImage render(QWidget& w)
{
    return w.grab().toImage();
}

inline bool isReddish(const QColor& c)
{
    return c.red() > 150 && c.green() < 110 && c.blue() < 110;
}

inline bool isDark(const QColor& c)
{
    return c.red() < 100 && c.green() < 100 && c.blue() < 100;
}

} // namespace uitest
