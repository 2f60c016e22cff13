#include "ui/main/MainClient.h"

#include "core/model/Project.h"
#include "ui/controls/FontMapper.h"
#include "ui/controls/ImageRegistry.h"

#include <QPainter>

namespace deskpanel {

MainClient::MainClient(const Project& project, const MainLayout& layout, const DisplayMetrics& metrics, QWidget* parent)
    : QWidget(parent), m_project(project), m_layout(layout), m_at120(metrics.is120())
{
    const bool exactly96 = metrics.isExactly96();
    m_headerFont = FontMapper::font(QStringLiteral("Arial Black"), exactly96 ? 100 : 80, 400, metrics.dpiY);
    m_labelFont = FontMapper::font(QStringLiteral("Arial"), exactly96 ? 90 : 72, 900, metrics.dpiY);
}

void MainClient::setTopShift(int dx)
{
    m_topShift = dx;
    update();
}

void MainClient::setPaintingEnabled(bool enabled)
{
    m_painting = enabled;
    update();
}

QString MainClient::headerText(const Project& project)
{
    const int active = project.activeSceneIndex;
    QString text = active > 0 && project.scenes.isStoredPosition(active)
                       ? QString::fromStdString(project.scenes.displayLine(active))
                       : QString::fromLatin1(SceneList::BlankSceneText).mid(6);
    return text.left(30);
}

void MainClient::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const ImageRegistry& images = ImageRegistry::instance();
    images.draw(p, QStringLiteral("BACKGROUND"), rect(), ImageRegistry::DrawMode::Tile);
    // Nothing of our own until the window has been shown once.
    if (!m_painting)
        return;

    QRect banner = m_layout.banner.translated(m_topShift, 0);
    if (m_topShift != 0)
        banner.setRight(m_layout.unitStatus.right() + m_topShift);
    p.save();
    p.setClipRect(banner);
    images.draw(p, 191, QRect(banner.topLeft(), images.size(QStringLiteral("191"))), ImageRegistry::DrawMode::Fixed);
    p.restore();

    // The active-scene label.
    const QRect anchor = m_layout.activeLabelAnchor.translated(m_topShift, m_topShift && m_at120 ? 5 : 0);
    const QRect label = anchor.adjusted(-20, 0, 20, 0).translated(6, -1);
    p.fillRect(label, QColor(48, 59, 82));
    p.setFont(m_labelFont);
    p.setPen(QColor(240, 240, 240));
    p.drawText(label, Qt::AlignHCenter | Qt::AlignTop,
               QString::fromStdString(SceneList::activeLabel(m_project.activeSceneIndex)));

    // The scene name header over the list.
    QRect header = m_layout.sceneList.translated(m_topShift + 6, -32);
    header.setLeft(header.left() + 4);
    header.setHeight(16);
    const QString text = headerText(m_project);
    p.setFont(m_headerFont);
    const QFontMetrics fm(m_headerFont);
    const int k = m_at120 ? -2 : 6;
    const int m = m_at120 ? 10 : 5;
    const int right = header.left() + header.width();
    p.fillRect(QRect(QPoint(header.left() - 10, header.top() + k), QPoint(right + 10, header.top() + k + fm.height())),
               QColor(35, 31, 32));
    const int x = (header.left() + right) / 2 + m - fm.horizontalAdvance(text) / 2 - 6;
    const int y = m_at120 ? header.top() - 1 : header.top() + 6;
    p.setPen(QColor(240, 240, 240));
    p.drawText(QPoint(x, y + fm.ascent()), text);
}

} // namespace deskpanel
