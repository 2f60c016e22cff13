#include "app/DnsSdAnnouncer.h"

#include <type_traits>
#include <utility>

#if defined(__linux__) && __has_include(<avahi-client/client.h>)
#define DESKPANEL_AVAHI 1
#include <avahi-client/client.h>
#include <avahi-client/publish.h>
#include <avahi-common/strlst.h>
#include <avahi-common/thread-watch.h>
#include <dlfcn.h>
#elif defined(_WIN32)
#define DESKPANEL_DNSAPI 1
#include "core/persistence/WideText.h"

#include <windns.h>

#include <atomic>
#include <memory>
#endif

namespace deskpanel {

std::vector<std::string> DnsSdAnnouncer::txtRecords()
{
    return {"txtvers=1", "version=1.0", "framing=none"};
}

#ifdef DESKPANEL_AVAHI

// The library's calls, found when it is there; its headers give the types only.
struct DnsSdAnnouncer::Platform {
    void* client = nullptr;
    void* common = nullptr;
    decltype(&avahi_threaded_poll_new) pollNew = nullptr;
    decltype(&avahi_threaded_poll_get) pollGet = nullptr;
    decltype(&avahi_threaded_poll_start) pollStart = nullptr;
    decltype(&avahi_threaded_poll_stop) pollStop = nullptr;
    decltype(&avahi_threaded_poll_free) pollFree = nullptr;
    decltype(&avahi_client_new) clientNew = nullptr;
    decltype(&avahi_client_free) clientFree = nullptr;
    decltype(&avahi_entry_group_new) groupNew = nullptr;
    decltype(&avahi_entry_group_add_service_strlst) addService = nullptr;
    decltype(&avahi_entry_group_commit) commit = nullptr;
    decltype(&avahi_string_list_new_from_array) listNew = nullptr;
    decltype(&avahi_string_list_free) listFree = nullptr;

    AvahiThreadedPoll* poll = nullptr;
    AvahiClient* avahiClient = nullptr;
    std::string name;
    std::uint16_t port = 0;
    bool announced = false;

    bool load()
    {
        client = dlopen("libavahi-client.so.3", RTLD_NOW | RTLD_LOCAL);
        common = dlopen("libavahi-common.so.3", RTLD_NOW | RTLD_LOCAL);
        if (!client || !common)
            return false;
        const auto find = [](void* library, auto& into, const char* symbol) {
            into = reinterpret_cast<std::remove_reference_t<decltype(into)>>(dlsym(library, symbol));
            return into != nullptr;
        };
        return find(common, pollNew, "avahi_threaded_poll_new") && find(common, pollGet, "avahi_threaded_poll_get") &&
               find(common, pollStart, "avahi_threaded_poll_start") &&
               find(common, pollStop, "avahi_threaded_poll_stop") &&
               find(common, pollFree, "avahi_threaded_poll_free") &&
               find(common, listNew, "avahi_string_list_new_from_array") &&
               find(common, listFree, "avahi_string_list_free") && find(client, clientNew, "avahi_client_new") &&
               find(client, clientFree, "avahi_client_free") && find(client, groupNew, "avahi_entry_group_new") &&
               find(client, addService, "avahi_entry_group_add_service_strlst") &&
               find(client, commit, "avahi_entry_group_commit");
    }
    ~Platform()
    {
        if (client)
            dlclose(client);
        if (common)
            dlclose(common);
    }

    // On Avahi's own thread (or inside avahi_client_new): once the daemon runs, publish.
    static void clientChanged(AvahiClient* c, AvahiClientState state, void* userdata)
    {
        auto* self = static_cast<Platform*>(userdata);
        if (state != AVAHI_CLIENT_S_RUNNING || self->announced)
            return;
        AvahiEntryGroup* group = self->groupNew(
            c, [](AvahiEntryGroup*, AvahiEntryGroupState, void*) {}, nullptr);
        if (!group)
            return;
        const std::vector<std::string> records = txtRecords();
        std::vector<const char*> texts;
        for (const std::string& record : records)
            texts.push_back(record.c_str());
        AvahiStringList* txt = self->listNew(texts.data(), static_cast<int>(texts.size()));
        const int added = self->addService(group, AVAHI_IF_UNSPEC, AVAHI_PROTO_INET, static_cast<AvahiPublishFlags>(0),
                                           self->name.c_str(), ServiceType, nullptr, nullptr, self->port, txt);
        self->listFree(txt);
        self->announced = added == 0 && self->commit(group) == 0;
    }
};

bool DnsSdAnnouncer::announce(const std::string& name, std::uint16_t port)
{
    withdraw();
    if (!m_platform)
        return false;
    Platform& a = *m_platform;
    a.name = name;
    a.port = port;
    a.poll = a.pollNew();
    if (!a.poll)
        return false;
    int error = 0;
    // Without a running daemon this fails at once: nothing to announce to, and no one told.
    a.avahiClient =
        a.clientNew(a.pollGet(a.poll), static_cast<AvahiClientFlags>(0), &Platform::clientChanged, &a, &error);
    if (!a.avahiClient || a.pollStart(a.poll) != 0) {
        withdraw();
        return false;
    }
    return true;
}

void DnsSdAnnouncer::withdraw()
{
    if (!m_platform)
        return;
    Platform& a = *m_platform;
    if (a.poll)
        a.pollStop(a.poll);
    if (a.avahiClient)
        a.clientFree(a.avahiClient); // takes its entry groups, and so the announcement, with it
    if (a.poll)
        a.pollFree(a.poll);
    a.avahiClient = nullptr;
    a.poll = nullptr;
    a.announced = false;
}

bool DnsSdAnnouncer::isAnnounced() const
{
    return m_platform && m_platform->avahiClient != nullptr;
}

#elif defined(DESKPANEL_DNSAPI)

namespace {

// DNS_REQUEST_PENDING, which mingw-w64's headers lack: the call goes on in the background.
constexpr DWORD RequestPending = 9506;

// One registration, on the heap: its completion calls arrive on a system thread with this
// as their context, so it is freed only once they have come.
struct Registration {
    decltype(&DnsServiceFreeInstance) freeInstance = nullptr;
    std::wstring instanceName;
    std::wstring hostName;
    PDNS_SERVICE_INSTANCE instance = nullptr;
    DNS_SERVICE_REGISTER_REQUEST request{};
    DNS_SERVICE_CANCEL cancel{};
    HANDLE completed = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::atomic<DWORD> status{ERROR_IO_PENDING};

    ~Registration()
    {
        if (instance)
            freeInstance(instance);
        if (completed)
            CloseHandle(completed);
    }

    static VOID WINAPI done(DWORD result, PVOID context, PDNS_SERVICE_INSTANCE copy)
    {
        auto* self = static_cast<Registration*>(context);
        if (copy)
            self->freeInstance(copy); // the system's copy of what was registered
        self->status = result;
        SetEvent(self->completed);
    }
    // True when the completion came within the time.
    bool awaitCompletion() const { return WaitForSingleObject(completed, 2000) == WAIT_OBJECT_0; }
};

std::wstring dnsHostName()
{
    wchar_t name[256];
    DWORD size = sizeof name / sizeof name[0];
    if (!GetComputerNameExW(ComputerNameDnsHostname, name, &size) || size == 0)
        return {};
    return std::wstring(name, size) + L".local";
}

} // namespace

// dnsapi.dll's service calls, found when this Windows has them.
struct DnsSdAnnouncer::Platform {
    HMODULE library = LoadLibraryW(L"dnsapi.dll");
    decltype(&DnsServiceConstructInstance) construct = nullptr;
    decltype(&DnsServiceFreeInstance) freeInstance = nullptr;
    decltype(&DnsServiceRegister) registerService = nullptr;
    decltype(&DnsServiceDeRegister) deregisterService = nullptr;
    decltype(&DnsServiceRegisterCancel) cancelRegistration = nullptr;
    Registration* registration = nullptr;

    bool load()
    {
        if (!library)
            return false;
        const auto find = [this](auto& into, const char* symbol) {
            into = reinterpret_cast<std::remove_reference_t<decltype(into)>>(
                reinterpret_cast<void*>(GetProcAddress(library, symbol)));
            return into != nullptr;
        };
        return find(construct, "DnsServiceConstructInstance") && find(freeInstance, "DnsServiceFreeInstance") &&
               find(registerService, "DnsServiceRegister") && find(deregisterService, "DnsServiceDeRegister") &&
               find(cancelRegistration, "DnsServiceRegisterCancel");
    }
    ~Platform()
    {
        if (library)
            FreeLibrary(library);
    }
};

bool DnsSdAnnouncer::announce(const std::string& name, std::uint16_t port)
{
    withdraw();
    if (!m_platform)
        return false;
    Platform& p = *m_platform;
    auto registration = std::make_unique<Registration>();
    Registration& r = *registration;
    r.freeInstance = p.freeInstance;
    r.instanceName = widenUtf8(name) + L"." + widenUtf8(ServiceType) + L".local";
    r.hostName = dnsHostName();
    if (r.hostName.empty() || !r.completed)
        return false;
    std::vector<std::wstring> keys;
    std::vector<std::wstring> values;
    for (const std::string& record : txtRecords()) {
        const std::size_t equals = record.find('=');
        keys.push_back(widenUtf8(record.substr(0, equals)));
        values.push_back(widenUtf8(record.substr(equals + 1)));
    }
    std::vector<PCWSTR> keyTexts;
    std::vector<PCWSTR> valueTexts;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        keyTexts.push_back(keys[i].c_str());
        valueTexts.push_back(values[i].c_str());
    }
    r.instance = p.construct(r.instanceName.c_str(), r.hostName.c_str(), nullptr, nullptr, port, 0, 0,
                             static_cast<DWORD>(keyTexts.size()), keyTexts.data(), valueTexts.data());
    if (!r.instance)
        return false;
    r.request.Version = DNS_QUERY_REQUEST_VERSION1;
    r.request.InterfaceIndex = 0; // every interface
    r.request.pServiceInstance = r.instance;
    r.request.pRegisterCompletionCallback = &Registration::done;
    r.request.pQueryContext = &r;
    if (p.registerService(&r.request, &r.cancel) != RequestPending)
        return false;
    p.registration = registration.release();
    return true;
}

void DnsSdAnnouncer::withdraw()
{
    if (!m_platform || !m_platform->registration)
        return;
    Platform& p = *m_platform;
    Registration* r = std::exchange(p.registration, nullptr);
    if (WaitForSingleObject(r->completed, 0) != WAIT_OBJECT_0)
        p.cancelRegistration(&r->cancel);
    if (!r->awaitCompletion())
        return; // the system still holds it: kept rather than freed under a late call
    if (r->status == ERROR_SUCCESS) {
        if (p.deregisterService(&r->request, nullptr) == RequestPending && !r->awaitCompletion())
            return;
    }
    delete r;
}

bool DnsSdAnnouncer::isAnnounced() const
{
    return m_platform && m_platform->registration != nullptr;
}

#else

struct DnsSdAnnouncer::Platform {
    bool load() { return false; }
};

bool DnsSdAnnouncer::announce(const std::string&, std::uint16_t)
{
    return false;
}

void DnsSdAnnouncer::withdraw()
{}

bool DnsSdAnnouncer::isAnnounced() const
{
    return false;
}

#endif

// Without Avahi on Linux, before Windows 10 1809 (or under Wine), and elsewhere, nothing
// is ever announced.
DnsSdAnnouncer::DnsSdAnnouncer() : m_platform(std::make_unique<Platform>())
{
    if (!m_platform->load())
        m_platform.reset();
}

DnsSdAnnouncer::~DnsSdAnnouncer()
{
    withdraw();
}

} // namespace deskpanel
