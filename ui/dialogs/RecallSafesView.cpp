#include "ui/dialogs/RecallSafesView.h"

#include "core/model/Project.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace deskpanel {

namespace {
const QColor gridGrey(200, 200, 200);
const QColor unitBand(232, 232, 232);
const std::array<const char*, SafeFlagCount> RowNames{"Gain", "48V", "Pad", "Polarity", "Mute"};
} // namespace

RecallSafesView::RecallSafesView(const Project& project, RecallSafes safes, QWidget* parent)
    : QWidget(parent), m_project(project), m_safes(safes)
{
    setObjectName(QStringLiteral("safes"));
    setAttribute(Qt::WA_TranslucentBackground);
}

int RecallSafesView::scrollRange() const
{
    return std::max(0, MaxChannels * ColumnWidth - viewportWidth());
}

void RecallSafesView::setScrollPos(int pixels)
{
    m_scroll = std::clamp(pixels, 0, scrollRange());
    update();
}

int RecallSafesView::channelAtX(int x) const
{
    if (x < HeaderWidth || x >= width())
        return -1;
    const int channel = (x - HeaderWidth + m_scroll) / ColumnWidth;
    return isValidChannel(channel) ? channel : -1;
}

RecallSafesView::Cell RecallSafesView::cellAt(const QPoint& point) const
{
    const int channel = channelAtX(point.x());
    const int top = rowTop(0);
    if (channel < 0 || point.y() < top || point.y() >= top + SafeFlagCount * RowHeight)
        return {};
    return {(point.y() - top) / RowHeight, channel};
}

int RecallSafesView::rowHeaderAt(const QPoint& point) const
{
    const int top = rowTop(0);
    if (point.x() < 0 || point.x() >= HeaderWidth || point.y() < top || point.y() >= top + SafeFlagCount * RowHeight)
        return -1;
    return (point.y() - top) / RowHeight;
}

int RecallSafesView::unitHeaderAt(const QPoint& point) const
{
    const int channel = channelAtX(point.x());
    if (channel < 0 || point.y() < 0 || point.y() >= UnitHeaderHeight)
        return -1;
    return unitOfChannel(channel);
}

QPoint RecallSafesView::cellCentre(int row, int channel) const
{
    return {columnLeft(channel) + ColumnWidth / 2, rowTop(row) + RowHeight / 2};
}

void RecallSafesView::toggleRowForAll(int row)
{
    const SafeFlag flag = SafeFlagOrder[static_cast<std::size_t>(row)];
    bool all = true;
    for (int c = 0; c < MaxChannels && all; ++c)
        all = m_safes.has(c, flag);
    for (int c = 0; c < MaxChannels; ++c)
        m_safes.set(c, flag, !all);
}

void RecallSafesView::toggleUnit(int unit)
{
    const int first = channelIndex(unit, 1);
    bool all = true;
    for (int c = first; c < first + ChannelsPerUnit && all; ++c)
        all = m_safes.flags(c) == AllSafeFlags;
    for (int c = first; c < first + ChannelsPerUnit; ++c)
        m_safes.set(c, all ? SafeFlags{0} : AllSafeFlags);
}

void RecallSafesView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    if (const Cell cell = cellAt(at); cell.valid()) {
        const SafeFlag flag = SafeFlagOrder[static_cast<std::size_t>(cell.row)];
        m_paintValue = !m_safes.has(cell.channel, flag);
        m_painting = true;
        m_safes.set(cell.channel, flag, m_paintValue);
    } else if (const int row = rowHeaderAt(at); row >= 0) {
        toggleRowForAll(row);
    } else if (const int unit = unitHeaderAt(at); unit > 0) {
        toggleUnit(unit);
    }
    update();
}

void RecallSafesView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_painting || !(event->buttons() & Qt::LeftButton))
        return;
    const Cell cell = cellAt(event->position().toPoint());
    if (!cell.valid())
        return;
    const SafeFlag flag = SafeFlagOrder[static_cast<std::size_t>(cell.row)];
    if (m_safes.has(cell.channel, flag) != m_paintValue) {
        m_safes.set(cell.channel, flag, m_paintValue);
        update();
    }
}

void RecallSafesView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_painting = false;
}

void RecallSafesView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int bottom = rowTop(SafeFlagCount);
    // Row headers.
    p.setPen(Qt::black);
    for (int row = 0; row < SafeFlagCount; ++row)
        p.drawText(QRect(4, rowTop(row), HeaderWidth - 8, RowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromLatin1(RowNames[static_cast<std::size_t>(row)]));
    p.setClipRect(QRect(HeaderWidth, 0, viewportWidth(), height()));
    const int firstChannel = std::max(0, m_scroll / ColumnWidth);
    const int lastChannel = std::min(MaxChannels - 1, (m_scroll + viewportWidth()) / ColumnWidth);
    for (int unit = unitOfChannel(firstChannel); unit <= unitOfChannel(lastChannel); ++unit) {
        const QRect band(columnLeft(channelIndex(unit, 1)), 0, ChannelsPerUnit * ColumnWidth - 1, UnitHeaderHeight - 2);
        p.fillRect(band, unitBand);
        p.setPen(Qt::black);
        p.drawText(band, Qt::AlignCenter,
                   QString::fromStdString(m_project.units[static_cast<std::size_t>(unit - 1)].name));
    }
    for (int c = firstChannel; c <= lastChannel; ++c) {
        const int left = columnLeft(c);
        p.setPen(Qt::black);
        p.drawText(QRect(left, UnitHeaderHeight, ColumnWidth, NumberHeight), Qt::AlignCenter,
                   QString::number(globalChannelNumber(c)));
        for (int row = 0; row < SafeFlagCount; ++row) {
            const QRect cell(left, rowTop(row), ColumnWidth, RowHeight);
            p.setPen(gridGrey);
            p.drawRect(cell.adjusted(0, 0, -1, -1));
            if (m_safes.has(c, SafeFlagOrder[static_cast<std::size_t>(row)])) {
                p.setRenderHint(QPainter::Antialiasing, true);
                p.setBrush(SafeAmber);
                p.setPen(Qt::NoPen);
                p.drawEllipse(cell.center() + QPoint(1, 1), 5, 5);
                p.setBrush(Qt::NoBrush);
                p.setRenderHint(QPainter::Antialiasing, false);
            }
        }
    }
    p.setPen(gridGrey);
    p.drawLine(HeaderWidth, bottom, width(), bottom);
}

} // namespace deskpanel
