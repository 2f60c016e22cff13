#include "ui/dialogs/LinkMatrixView.h"

#include "core/model/ChannelControl.h"
#include "core/model/Project.h"
#include "ui/controls/FontMapper.h"

#include <QMouseEvent>
#include <QPainter>

namespace deskpanel {

namespace {
const QColor lightGrey(222, 222, 222);
const QColor greyInk(128, 128, 128);
// Dialog-unit places of the layout.
constexpr int matrixLeftDlu = 136;
constexpr int matrixRightDlu = 410;
constexpr int unitHeaderTopDlu = 24;
constexpr int columnHeaderTopDlu = 34;
// The scroll range stops this many pixels short of the matrix's full width, whatever the
// resolution, so the last column ends a little inside the viewport.
constexpr int scrollShortfallPixels = 400;
} // namespace

LinkMatrixView::LinkMatrixView(Project& project, ChannelControl& channels, const DialogUnits& units, QWidget* parent)
    : QWidget(parent), m_project(project), m_channels(channels), m_units(units)
{
    setObjectName(QStringLiteral("matrix"));
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(false);
}

int LinkMatrixView::columnWidth() const
{
    return m_units.dpi() == 96 ? 22 : 27;
}

int LinkMatrixView::cellHeight() const
{
    return m_units.dpi() == 96 ? 20 : 27;
}

int LinkMatrixView::matrixLeft() const
{
    return m_units.x(matrixLeftDlu) - x();
}

int LinkMatrixView::viewportWidth() const
{
    return m_units.x(matrixRightDlu) - m_units.x(matrixLeftDlu);
}

int LinkMatrixView::scrollRange() const
{
    return std::max(0, MaxChannels * columnWidth() - scrollShortfallPixels);
}

void LinkMatrixView::setScrollPos(int pixels)
{
    m_scroll = std::clamp(pixels, 0, scrollRange());
    update();
}

int LinkMatrixView::rowTop(int group) const
{
    return m_units.y(60 + 13 * (group - 1)) - y();
}

QRect LinkMatrixView::rowHeaderRect(int group) const
{
    return m_units.toPixels(QRect(25, 60 + 13 * (group - 1), 111, 12)).translated(-pos());
}

int LinkMatrixView::columnLeft(int channel) const
{
    return matrixLeft() + channel * columnWidth() - m_scroll;
}

LinkMatrixView::Cell LinkMatrixView::cellAt(const QPoint& point) const
{
    const int left = matrixLeft();
    if (point.x() < left || point.x() >= left + viewportWidth())
        return {};
    const int channel = (point.x() - left + m_scroll) / columnWidth();
    for (int group = 1; group <= MaxLinkGroups; ++group) {
        const int top = rowTop(group);
        if (point.y() >= top && point.y() < top + cellHeight())
            return isValidChannel(channel) ? Cell{group, channel} : Cell{};
    }
    return {};
}

int LinkMatrixView::rowHeaderAt(const QPoint& point) const
{
    for (int group = 1; group <= MaxLinkGroups; ++group)
        if (rowHeaderRect(group).contains(point))
            return group;
    return 0;
}

QPoint LinkMatrixView::cellCentre(int group, int channel) const
{
    return {columnLeft(channel) + columnWidth() / 2, rowTop(group) + cellHeight() / 2};
}

void LinkMatrixView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setFont(font());
    paintHeaders(p);
    paintColumns(p);
}

void LinkMatrixView::paintHeaders(QPainter& p)
{
    const QPoint origin = -pos();
    p.setPen(Qt::black);
    const int lineHeight = fontMetrics().height();
    p.drawText(QRect(origin.x(), m_units.y(28) + origin.y(), m_units.x(104), lineHeight), Qt::AlignRight,
               QStringLiteral("Unit ID->"));
    p.drawText(QRect(origin.x(), m_units.y(41) + origin.y(), m_units.x(78), lineHeight), Qt::AlignRight,
               QStringLiteral("Channels->"));
    p.drawText(QPoint(m_units.x(14), m_units.y(50) + fontMetrics().ascent()) + origin,
               QStringLiteral("Link Group         Group Title"));
    const LinkGroupControl& groups = m_channels.linkGroups();
    for (int group = 1; group <= MaxLinkGroups; ++group) {
        const QRect r = rowHeaderRect(group);
        p.setPen(groups.membership().hasMembers(group) ? Qt::black : greyInk);
        p.drawText(r.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromStdString(groups.rowHeaderText(group)));
        const int split = r.left() + fontMetrics().horizontalAdvance(QStringLiteral("00  ")) + 2;
        p.setPen(greyInk);
        p.drawLine(split, r.top(), split, r.bottom());
    }
}

void LinkMatrixView::paintColumns(QPainter& p)
{
    const int left = matrixLeft();
    const int cw = columnWidth();
    const int ch = cellHeight();
    p.setClipRect(QRect(left, 0, viewportWidth(), height()));
    const int unitTop = m_units.y(unitHeaderTopDlu) - y();
    const int columnTop = m_units.y(columnHeaderTopDlu) - y();
    const int firstRow = rowTop(1);
    const int first = std::max(0, m_scroll / cw);
    const int last = std::min(MaxChannels - 1, (m_scroll + viewportWidth()) / cw);
    const LinkGroupControl& groups = m_channels.linkGroups();

    // Unit headers, one per 8 columns.
    for (int unit = unitOfChannel(first); unit <= unitOfChannel(last); ++unit) {
        const QRect r(columnLeft(channelIndex(unit, 1)), unitTop, cw * ChannelsPerUnit, columnTop - unitTop);
        p.fillRect(r, lightGrey);
        p.setPen(Qt::black);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        const std::string& name = m_project.units[static_cast<std::size_t>(unit - 1)].name;
        p.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral(" %1: %2").arg(unit).arg(QString::fromStdString(name)));
    }
    // Column headers: the channel number written upwards.
    for (int c = first; c <= last; ++c) {
        p.save();
        p.setPen(groups.isInAnyGroup(c) ? Qt::black : greyInk);
        p.translate(columnLeft(c), firstRow - 2);
        p.rotate(-90);
        p.drawText(QRect(0, 0, firstRow - 2 - columnTop, cw), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::asprintf("%03d", globalChannelNumber(c)));
        p.restore();
    }
    // Cells: every second row light grey, every cell framed, a dot for an engaged member.
    for (int group = 1; group <= MaxLinkGroups; ++group) {
        const int top = rowTop(group);
        for (int c = first; c <= last; ++c) {
            const QRect cell(columnLeft(c), top, cw, ch);
            if (group % 2 == 0)
                p.fillRect(cell, lightGrey);
            p.setPen(Qt::black);
            p.setBrush(Qt::NoBrush);
            p.drawRect(cell.adjusted(0, 0, -1, -1));
            if (groups.matrixShowsDot(group, c)) {
                p.setBrush(Qt::black);
                p.setRenderHint(QPainter::Antialiasing, true);
                p.drawEllipse(cell.adjusted(4, 3, -4, -3));
                p.setRenderHint(QPainter::Antialiasing, false);
            }
        }
    }
    // Lines between the units.
    p.setPen(Qt::black);
    for (int unit = unitOfChannel(first); unit <= unitOfChannel(last) + 1; ++unit) {
        const int xLine = columnLeft(channelIndex(unit, 1));
        p.drawLine(xLine, unitTop, xLine, rowTop(MaxLinkGroups) + ch);
    }
}

void LinkMatrixView::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const Cell cell = cellAt(at);
    if (event->button() == Qt::LeftButton && cell.valid()) {
        m_pressed = true;
        m_channels.linkGroups().matrixCellPressed(cell.group, cell.channel);
        update();
    } else if (event->button() == Qt::RightButton) {
        if (const int group = rowHeaderAt(at))
            emit rowHeaderRightClicked(group);
        else if (cell.valid())
            emit cellRightClicked(cell.channel);
    }
}

void LinkMatrixView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressed || !m_dragAllowed || !(event->buttons() & Qt::LeftButton))
        return;
    const Cell cell = cellAt(event->position().toPoint());
    if (cell.valid()) {
        m_channels.linkGroups().matrixPointerEntered(cell.group, cell.channel);
        update();
    }
}

void LinkMatrixView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    m_channels.linkGroups().matrixReleased();
}

void LinkMatrixView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (const int group = rowHeaderAt(event->position().toPoint()))
        emit rowHeaderDoubleClicked(group);
    else
        mousePressEvent(event); // the second click of a fast pair toggles as well
}

} // namespace deskpanel
