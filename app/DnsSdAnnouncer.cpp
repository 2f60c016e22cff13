#include "app/DnsSdAnnouncer.h"

#if defined(__linux__) && __has_include(<avahi-client/client.h>)
#define DESKPANEL_AVAHI 1
#include <avahi-client/client.h>
#include <avahi-client/publish.h>
#include <avahi-common/strlst.h>
#include <avahi-common/thread-watch.h>
#include <dlfcn.h>
#endif

namespace deskpanel {

std::vector<std::string> DnsSdAnnouncer::txtRecords()
{
    return {"txtvers=1", "version=1.0", "framing=none"};
}

#ifdef DESKPANEL_AVAHI

// The library's calls, found when it is there; its headers give the types only.
struct DnsSdAnnouncer::Avahi {
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
    ~Avahi()
    {
        if (client)
            dlclose(client);
        if (common)
            dlclose(common);
    }

    // On Avahi's own thread (or inside avahi_client_new): once the daemon runs, publish.
    static void clientChanged(AvahiClient* c, AvahiClientState state, void* userdata)
    {
        auto* self = static_cast<Avahi*>(userdata);
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

DnsSdAnnouncer::DnsSdAnnouncer() : m_avahi(std::make_unique<Avahi>())
{
    if (!m_avahi->load())
        m_avahi.reset(); // no Avahi on this machine: nothing is ever announced
}

DnsSdAnnouncer::~DnsSdAnnouncer()
{
    withdraw();
}

bool DnsSdAnnouncer::announce(const std::string& name, std::uint16_t port)
{
    withdraw();
    if (!m_avahi)
        return false;
    Avahi& a = *m_avahi;
    a.name = name;
    a.port = port;
    a.poll = a.pollNew();
    if (!a.poll)
        return false;
    int error = 0;
    // Without a running daemon this fails at once: nothing to announce to, and no one told.
    a.avahiClient = a.clientNew(a.pollGet(a.poll), static_cast<AvahiClientFlags>(0), &Avahi::clientChanged, &a, &error);
    if (!a.avahiClient || a.pollStart(a.poll) != 0) {
        withdraw();
        return false;
    }
    return true;
}

void DnsSdAnnouncer::withdraw()
{
    if (!m_avahi)
        return;
    Avahi& a = *m_avahi;
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
    return m_avahi && m_avahi->avahiClient != nullptr;
}

#else

struct DnsSdAnnouncer::Avahi {};

DnsSdAnnouncer::DnsSdAnnouncer() = default;
DnsSdAnnouncer::~DnsSdAnnouncer() = default;

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

} // namespace deskpanel
