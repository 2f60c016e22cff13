#include "app/HostPortReport.h"

#include "core/unitlink/UnitLink.h"

#include <QDateTime>

namespace deskpanel {

namespace {
std::string now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
}
} // namespace

void HostPortReport::hostPortBusy(std::uint16_t port)
{
    m_out << "DeskPanel: host port " << port << " is busy (held by another program) at " << now()
          << "; trying again every " << UnitLink::BindRetryMs / 1000 << " s" << std::endl;
}

void HostPortReport::hostPortBound(std::uint16_t port, bool wasBusy)
{
    // A port bound at the first try is the normal start: nothing to tell.
    if (wasBusy)
        m_out << "DeskPanel: host port " << port << " bound at " << now() << std::endl;
}

} // namespace deskpanel
