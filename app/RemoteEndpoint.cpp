#include "app/RemoteEndpoint.h"

#include "app/DeskPanelApp.h"
#include "core/host/Operator.h"
#include "core/model/ChannelSettingsPaste.h"
#include "core/model/Text.h"
#include "core/persistence/NativePath.h"

#include <vector>

namespace deskpanel {
namespace {

constexpr std::uint32_t Loopback = 0x7F000001u;

} // namespace

RemoteEndpoint::RemoteEndpoint(DeskPanelApp& app)
    : m_app(app),
      m_control(app.project(), app.channels(), app.scenes(), app.timers(), app.clock(), m_socket,
                [&app](int unitNumber) { return app.link().state(unitNumber); })
{
    m_control.setUnitSender(&app.link());
    Metering& meters = app.metering();
    m_control.setMeterSource([&meters](int channel) { return meters.levelDb(channel); });
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

void RemoteEndpoint::setPresetLibrary(std::string path)
{
    m_presetPath = std::move(path);
    m_control.setPresets(
        [this](const std::string& name) -> std::optional<PartialSettings> {
            const PresetLibrary& library = presetLibrary();
            if (const auto found = library.find(name))
                return library.presets()[*found].settings;
            return std::nullopt;
        },
        [this](const PartialSettings& settings, const std::vector<int>& channels) {
            ChannelSettingsPaste paste(m_app.project(), m_app.channels(), m_app.link(), m_app.scenes(),
                                       m_app.operatorPort());
            return paste.paste(settings, channels) == ChannelSettingsPaste::Outcome::Pasted;
        });
}

// Read again only when the file changed since: a remote may send presets many times a
// second, and the operator may edit the library meanwhile.
const PresetLibrary& RemoteEndpoint::presetLibrary()
{
    std::error_code error;
    const auto changedAt = std::filesystem::last_write_time(nativePath(m_presetPath), error);
    if (error) {
        m_presets = PresetLibrary();
        m_presetsRead.reset();
    } else if (m_presetsRead != changedAt) {
        m_presets = PresetLibrary::read(m_presetPath).decoded.library;
        m_presetsRead = changedAt;
    }
    return m_presets;
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
    const std::uint32_t before = boundAddress();
    m_settings = settings;
    const bool sameSocket =
        settings.enabled && isListening() && settings.port == m_boundPort && boundAddress() == before;
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
    m_announcer.withdraw();
    m_socket.close();
    m_bindError.clear();
    m_control.endSubscriptions();
    if (wasOpen)
        emit statusChanged();
}

void RemoteEndpoint::bindSocket()
{
    // Loopback while every host listed is this machine (or none is), unless the operator
    // chose where to listen.
    const std::uint32_t address = boundAddress();
    std::string error;
    if (m_socket.open(address, m_settings.port, error)) {
        m_boundPort = m_settings.port;
        if ((address >> 24) != 127)
            m_announcer.announce("DeskPanel", m_settings.port);
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
    return QStringLiteral("%1:%2").arg(QString::fromStdString(ipv4Text(boundAddress()))).arg(m_settings.port);
}

std::uint32_t RemoteEndpoint::boundAddress() const
{
    std::string error;
    const auto hosts = parseAllowedHosts(m_settings.allowedHosts, error);
    return listenAddress(m_settings.listen, hosts.value_or(std::vector<std::uint32_t>{})).value_or(Loopback);
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
