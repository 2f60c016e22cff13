#pragma once
#include "core/model/ChannelListener.h"
#include "core/model/Limits.h"
#include "core/model/SceneListListener.h"
#include "core/remote/OscCodec.h"
#include "core/remote/RemoteDispatcher.h"
#include "core/remote/RemoteStateReader.h"
#include "core/stage/StageSettings.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace deskpanel {

class ChannelControl;
class Clock;
class Project;
class SceneOperations;
class Timers;
class UnitSender;

// The stage pages' logic, apart from their sockets: each open page is told the whole
// state, then every change; its messages are applied as the remote control's are, by
// the same dispatcher rules, after its device's permission is checked. While the desk
// holds the gate (a box is open) pages are told "busy" and their changes are refused, so
// nothing a page sent runs inside a box or long after it was meant.
//
// Values are sent at most once a frame and never queued twice: a change marks what it
// touched for every page, and each frame sends the present values of what is marked to
// the pages whose sockets keep up. Meters go at 20 Hz and are dropped for a slow page.
// Owns the timers StageGrabRelease and StageFrame.
class StageControl : public ChannelListener, public SceneListListener {
public:
    static constexpr int MaxPages = 16;
    static constexpr std::uint32_t FrameMs = 20;
    static constexpr std::uint32_t MeterPeriodMs = 50;
    static constexpr int MaxMeterChannels = 64;
    static constexpr int MaxValuesPerFrame = 400;
    static constexpr int MaxMessagesPerSecond = 200; // per page
    static constexpr int MaxRecallsPerSecond = 2; // per page

    // Where the messages for a page go; `isSlow` is true while its socket has not sent
    // what it was given.
    class PageOutput {
    public:
        virtual ~PageOutput() = default;
        virtual void send(int page, const OscMessage& message) = 0;
        virtual void sendMeters(int page, int first, const std::vector<int>& levels) = 0;
        virtual bool isSlow(int page) const = 0;
    };

    StageControl(Project& project, ChannelControl& channels, SceneOperations& scenes, Timers& timers,
                 const Clock& clock, RemoteStateReader::UnitStateSource unitState, PageOutput& output);
    ~StageControl() override;
    StageControl(const StageControl&) = delete;
    StageControl& operator=(const StageControl&) = delete;

    // The page sees "/deskpanel/allow/phantom" follow this.
    void setAllowPhantom(bool allow);
    void setMeterSource(std::function<int(int channel)> level) { m_meterLevel = std::move(level); }
    void setProgramVersion(std::string version);
    // The link whose failed sends, while a page's message is applied, are answered to the
    // page instead of boxed at the desk.
    void setUnitSender(UnitSender* units) { m_units = units; }

    // A page of `device` opened: its number, or nothing when MaxPages are open. It is
    // greeted ("/deskpanel/hello") and sent the whole state from the next frame on.
    std::optional<int> open(const std::string& device, StagePermission permission);
    void close(int page);
    bool isOpen(int page) const { return m_pages.contains(page); }
    int pageCount() const { return static_cast<int>(m_pages.size()); }
    // One message from a page, already read from its text.
    void received(int page, const OscMessage& message);
    // A message the page sent that could not be read.
    void unreadable(int page, const std::string& error);

    void unitStateChanged(int unitNumber);

    // ChannelListener
    void channelChanged(int channel, ChannelAspect aspect) override;
    void allChannelsChanged() override;
    void projectReplaced() override;
    // SceneListListener
    void sceneLinesChanged() override;
    void sceneSelected(int) override {}
    void sceneListScrolled(int) override {}
    void activeSceneChanged() override;

private:
    // What can be marked: seven values per channel, each unit's state, the scene list, the
    // active scene.
    enum ChannelValue {
        Gain,
        Mute,
        Pad,
        Polarity,
        Phantom,
        Name,
        Notes,
        ValuesPerChannel
    };
    static constexpr int FirstUnitItem = MaxChannels * ValuesPerChannel;
    static constexpr int SceneListItem = FirstUnitItem + MaxUnits;
    static constexpr int ActiveSceneItem = SceneListItem + 1;
    static constexpr int ItemCount = ActiveSceneItem + 1;

    struct Page {
        std::string device;
        StagePermission permission = StagePermission::View;
        std::vector<bool> marked = std::vector<bool>(ItemCount, true);
        int markedCount = ItemCount;
        int nextItem = 0;
        int meterFirst = 0;
        int meterCount = 0;
        std::uint32_t metersDueAt = 0;
        std::uint32_t rateWindowStart = 0;
        int messagesInWindow = 0;
        std::vector<std::uint32_t> recalls;
        bool toldBusy = false;
        bool greeted = false;
    };

    void greet(int id, Page& page);

    std::string refusalFor(const Page& page, const RemoteAddressMatch& match) const;
    bool overRate(Page& page);
    void applyChange(Page& page, const RemoteAddressMatch& match, const OscMessage& message,
                     std::vector<OscMessage>& answers);
    void subscribeMeters(Page& page, const OscMessage& message, std::vector<OscMessage>& answers);
    // The present values of what a refused message tried to change, so the page shows the truth.
    void presentValues(const RemoteAddressMatch& match, std::vector<OscMessage>& answers) const;
    void mark(int item);
    void markChannel(int channel, std::initializer_list<ChannelValue> values);
    OscMessage item(int index) const;
    void sendMarked(int id, Page& page);
    void sendMeters(int id, Page& page);
    void onFrame();
    void armFrame();

    Project& m_project;
    ChannelControl& m_channels;
    Timers& m_timers;
    const Clock& m_clock;
    PageOutput& m_output;
    UnitSender* m_units = nullptr;
    RemoteStateReader m_state;
    RemoteDispatcher m_dispatcher;
    SceneOperations& m_scenes;
    std::function<int(int)> m_meterLevel;
    std::string m_programVersion = "1.01";
    std::map<int, Page> m_pages;
    int m_nextPage = 1;
};

} // namespace deskpanel
