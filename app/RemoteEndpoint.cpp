#include "app/RemoteEndpoint.h"

#include "app/DeskPanelApp.h"
#include "core/host/Operator.h"
#include "core/model/Text.h"

#include <vector>

namespace deskpanel {
namespace {

constexpr std::uint32_t Loopback = 0x7F000001u;
constexpr std::uint32_t AnyAddress = 0;

} // namespace

RemoteEndpoint::RemoteEndpoint(DeskPanelApp& app)
    : m_app(app),
      m_control(app.project(), app.channels(), app.scenes(), app.timers(), app.clock(), m_socket,
                [&app](int unitNumber) { return app.link().state(unitNumber); })
{
    m_control.setUnitSender(&app.link());
    m_unitStateListener =
        app.addUnitStateListener([this](int unitNumber, UnitState) { m_control.unitStateChanged(unitNumber); });
    m_retry.setInterval(BindRetryMs);
    connect(&m_retry, &QTimer::timeout, this, [this] { bindSocket(); });
}

RemoteEndpoint::~RemoteEndpoint()
{
    m_app.removeUnitStateListener(m_unitStateListener);
    m_retry.stop();
    m_notifier.reset();
    m_socket.close();
}

void RemoteEndpoint::useProfile(const std::string& profile)
{
    m_profile = profile;
    apply(RemoteSettings::read(profile));
}

bool RemoteEndpoint::store(const RemoteSettings& settings)
{
    const bool written = m_profile.empty() || settings.write(m_profile);
    apply(settings);
    return written;
}

void RemoteEndpoint::apply(const RemoteSettings& settings)
{
    std::string error;
    const auto hosts = parseAllowedHosts(settings.allowedHosts, error);
    const bool sameSocket = settings.enabled && m_settings.enabled && settings.port == m_settings.port &&
                            settings.allowedHosts.empty() == m_settings.allowedHosts.empty() && isListening();
    m_settings = settings;
    m_control.setAllowedHosts(hosts.value_or(std::vector<std::uint32_t>{}));
    m_control.setAllowPhantom(settings.allowPhantom);
    if (!settings.enabled || !hosts) {
        close();
        return;
    }
    if (!sameSocket) {
        close();
        m_failureReported = false;
        bindSocket();
    }
}

void RemoteEndpoint::close()
{
    m_retry.stop();
    const bool wasOpen = isListening() || !m_bindError.isEmpty();
    m_notifier.reset();
    m_socket.close();
    m_bindError.clear();
    m_control.endSubscriptions();
    if (wasOpen)
        emit statusChanged();
}

void RemoteEndpoint::bindSocket()
{
    // Listed hosts may be anywhere; with none listed, only this machine can reach it.
    const std::uint32_t address = m_settings.allowedHosts.empty() ? Loopback : AnyAddress;
    std::string error;
    if (m_socket.open(address, m_settings.port, error)) {
        m_retry.stop();
        m_bindError.clear();
        m_failureReported = false;
        m_notifier = std::make_unique<QSocketNotifier>(static_cast<qintptr>(m_socket.handle()), QSocketNotifier::Read);
        connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { readPending(); });
        emit statusChanged();
        return;
    }
    m_bindError = QString::fromStdString(error);
    if (!m_failureReported) {
        m_failureReported = true;
        m_app.operatorPort().timedNote("Remote Control",
                                       format("Remote control cannot use UDP port %u: %s. It tries again every 2 "
                                              "seconds.",
                                              unsigned{m_settings.port}, error.c_str()),
                                       5000);
    }
    if (!m_retry.isActive())
        m_retry.start();
    emit statusChanged();
}

QString RemoteEndpoint::listeningText() const
{
    if (!isListening())
        return {};
    const std::uint32_t address = m_settings.allowedHosts.empty() ? Loopback : AnyAddress;
    return QStringLiteral("%1:%2").arg(QString::fromStdString(ipv4Text(address))).arg(m_settings.port);
}

void RemoteEndpoint::readPending()
{
    // What waits now, and no more: a flood must not keep the event loop from its other work.
    std::vector<std::uint8_t> data;
    Ipv4Endpoint from;
    for (int read = 0; read < 256 && m_socket.receive(data, from); ++read)
        m_control.datagramReceived(data.data(), data.size(), from);
}

} // namespace deskpanel
