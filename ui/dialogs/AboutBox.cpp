#include "ui/dialogs/AboutBox.h"

#include "ui/controls/ImageRegistry.h"
#include "ui/dialogs/DialogTemplates.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace deskpanel {

namespace {
const QString aboutPicture = QStringLiteral("165");
const QColor versionGround(134, 158, 194);
const QColor dialogGround(231, 231, 231);
constexpr int fadeTickMs = 10;
constexpr int fadeStepAlpha = 2;
constexpr int fadeLastAlpha = 244;
} // namespace

QString AboutBox::versionText(const QString& programVersion)
{
    const QStringList parts = programVersion.trimmed().split(QLatin1Char('.'));
    if (parts.size() >= 2) {
        bool okMajor = false, okMinor = false;
        const int major = parts[0].toInt(&okMajor);
        const int minor = parts[1].toInt(&okMinor);
        if (okMajor && okMinor && major >= 0 && major <= 0xFFFF && minor >= 0 && minor <= 0xFFFF)
            return QString::asprintf("Version %d.%02d", major, minor);
    }
    return QStringLiteral("Version 1.01");
}

AboutBox::AboutBox(const QString& programVersion, QWidget* parent)
    : GlassDialog(DialogTemplates::about(), QStringLiteral("About Veltara RP-8"), parent)
{
    const QSize picture = ImageRegistry::instance().size(aboutPicture);
    QRect version = controlRect(ControlId::Version);
    if (!picture.isEmpty()) {
        setFixedSize(picture.width() + 8, picture.height() + 35);
        version.moveTo(picture.width() - version.width() - 8, picture.height() - version.height() + 21);
    }
    m_version = new QLabel(this);
    m_version->setObjectName(QStringLiteral("version"));
    m_version->setGeometry(version);
    m_version->setFont(font());
    m_version->setAutoFillBackground(true);
    QPalette pal = m_version->palette();
    pal.setColor(QPalette::Window, versionGround);
    pal.setColor(QPalette::WindowText, Qt::black);
    m_version->setPalette(pal);
    m_version->setText(versionText(programVersion));

    m_fade.setInterval(fadeTickMs);
    connect(&m_fade, &QTimer::timeout, this, &AboutBox::fadeStep);
}

QString AboutBox::shownVersion() const
{
    return m_version->text();
}

QRect AboutBox::versionRect() const
{
    return m_version->geometry();
}

void AboutBox::showEvent(QShowEvent* event)
{
    GlassDialog::showEvent(event);
    m_nextAlpha = 0;
    m_appliedAlpha = 0;
    if (supportsOpacity())
        setWindowOpacity(0.0);
    m_fade.start();
}

// Each tick applies the alpha reached so far and then raises it; past 244 it stops.
void AboutBox::fadeStep()
{
    m_appliedAlpha = m_nextAlpha;
    if (supportsOpacity())
        setWindowOpacity(m_appliedAlpha / 255.0);
    m_nextAlpha += fadeStepAlpha;
    if (m_nextAlpha > fadeLastAlpha)
        m_fade.stop();
}

void AboutBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), dialogGround);
    ImageRegistry::instance().draw(p, aboutPicture, QRect(QPoint(4, 30), ImageRegistry::instance().size(aboutPicture)),
                                   ImageRegistry::DrawMode::Fixed);
    paintGlass(p, false);
}

void AboutBox::onEnter()
{
    m_fade.stop();
    accept();
}

void AboutBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_fade.stop();
        accept();
        return;
    }
    GlassDialog::mousePressEvent(event);
}

} // namespace deskpanel
