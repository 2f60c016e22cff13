#include "ui/main/MainLayout.h"

#include "ui/controls/DialogUnits.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace deskpanel {

DisplayMetrics DisplayMetrics::current()
{
    return of(QGuiApplication::primaryScreen());
}

DisplayMetrics DisplayMetrics::of(const QScreen* screen)
{
    DisplayMetrics m;
    if (screen) {
        m.dpiX = int(std::lround(screen->logicalDotsPerInchX()));
        m.dpiY = int(std::lround(screen->logicalDotsPerInchY()));
        m.screen = screen->size();
        m.devicePixelRatio = screen->devicePixelRatio();
        m.workArea = screen->availableGeometry();
    }
    return m;
}

int DisplayMetrics::effectiveDpi() const
{
    return int(std::lround(std::max(dpiX, dpiY) * devicePixelRatio));
}

namespace {

int scaled(int value, double factor)
{
    return int(std::lround(value * factor));
}

// A rectangle from its edges, right and bottom exclusive.
QRect edges(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// c x 96 / (pixels per inch), edge by edge.
QRect toBaseUnits(const QRect& r, const DisplayMetrics& m)
{
    const auto h = [&](int c) { return c * 96 / m.dpiX; };
    const auto v = [&](int c) { return c * 96 / m.dpiY; };
    return edges(h(r.left()), v(r.top()), h(r.left() + r.width()), v(r.top() + r.height()));
}

} // namespace

MainLayout MainLayout::compute(const DisplayMetrics& m)
{
    const DialogUnits du(m.dpiX);
    const bool at120 = m.is120();
    MainLayout l;
    const auto place = [&](int x, int y, int w, int h) { return du.toPixels(QRect(x, y, w, h)); };

    const QSize templateSize = du.toPixels(QSize(TemplateWidth, TemplateHeight));
    l.windowSize =
        at120 ? QSize(scaled(templateSize.width(), 0.86), scaled(templateSize.height(), 0.84)) : QSize(1102, 789);
    l.sceneRangeVisible = m.isExactly96() ? 6 : 4;
    l.dragScrollIndex = m.isExactly96() ? 5 : 3;
    l.unitNumberTop = at120 ? 4 : 6;
    l.banner = place(25, 2, 599, 97);

    // The strip views and their scroll bars.
    QRect underviewAnchor = place(1, 412, 719, 12);
    if (at120)
        underviewAnchor.translate(0, -155);
    l.underviewScrollBar = underviewAnchor;
    l.underview = place(0, 119, 682, 295);
    l.overview = place(4, 119, 662, 331);
    if (l.overview.width() < 1040)
        l.overview.setWidth(1040);
    if (at120) {
        l.underview.translate(0, -46);
        l.underview.setHeight(scaled(l.underview.height(), 0.81));
        l.overview.translate(0, -46);
        l.overview.setWidth(scaled(l.overview.width(), 0.748));
    }
    l.overviewScrollBar = place(666, 137, 11, 311);

    // The five scene buttons.
    struct Button {
        QRect* rect;
        QRect dlu;
        int dx120;
        double widthFactor120;
    };
    const Button buttons[] = {{&l.overviewButton, {433, 99, 46, 14}, -120, 0.75},
                              {&l.lockButton, {174, 99, 40, 14}, -76, 0.75},
                              {&l.newButton, {76, 99, 46, 14}, -20, 0.75},
                              {&l.deleteButton, {127, 99, 32, 14}, -44, 1.0},
                              {&l.recallButton, {27, 99, 46, 14}, 0, 0.75}};
    for (const Button& b : buttons) {
        QRect r = du.toPixels(b.dlu);
        if (at120) {
            r.translate(b.dx120, -44);
            r.setSize(QSize(scaled(r.width(), b.widthFactor120), scaled(r.height(), 0.9)));
        }
        *b.rect = r;
    }

    // The scene list, its label anchor and its scroll bar.
    QRect list = toBaseUnits(place(32, 34, 167, 59), m);
    if (at120)
        list = edges(list.left() + 8, list.top() + 9, list.left() + list.width() - 8, list.top() + list.height());
    l.sceneList = list;
    QRect label = place(90, 3, 59, 10);
    label.moveLeft(list.left() + list.width() / 2 - label.width() / 2);
    l.activeLabelAnchor = label;
    QRect bar = place(198, 30, 11, 67);
    const int listRight = list.left() + list.width();
    if (at120) {
        bar = QRect(listRight, list.top() - 11, bar.width(), list.height() + 17);
    } else {
        bar = QRect(listRight + 1, list.top() - 4, bar.width() + 2, list.height() + 6);
    }
    l.sceneScrollBar = bar;
    for (const Button& b : buttons)
        b.rect->moveTop(list.top() + list.height() + 8);

    // The unit status area and its scroll bar.
    QRect status = toBaseUnits(place(347, 23, 315, 70), m);
    if (at120)
        status = edges(status.left() - 24, status.top() + 7, status.left() + status.width() - 54,
                       status.top() + status.height() + 4);
    l.unitStatus = status;
    const int statusRight = status.left() + status.width();
    const QRect anchor = place(662, 22, 11, 79);
    l.unitScrollBar = at120 ? QRect(statusRight + 4, status.top() - 9, 24, status.height() + 11)
                            : QRect(statusRight + 6, status.top() - 5, anchor.width() + 2, status.height() + 7);
    return l;
}

} // namespace deskpanel
