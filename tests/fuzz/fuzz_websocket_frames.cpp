// Feeds arbitrary bytes to the Stage Remote's WebSocket frame reader, as one run and
// again cut in two where the first byte says: both must read the same events, nothing
// after a close or an error, and every text valid UTF-8 within the limit.
#include "core/model/Text.h"
#include "core/stage/StageMessage.h"
#include "core/stage/WebSocketFrames.h"

#include <algorithm>
#include <string_view>
#include <vector>

using namespace deskpanel;
using namespace deskpanel::websocket;

namespace {

bool same(const std::vector<Event>& a, const std::vector<Event>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].kind != b[i].kind || a[i].payload != b[i].payload || a[i].code != b[i].code)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t cut = std::min<std::size_t>(data[0], bytes.size());

    FrameReader whole(stage::MaxMessageBytes);
    std::vector<Event> events;
    whole.feed(bytes, events);
    FrameReader halves(stage::MaxMessageBytes);
    std::vector<Event> again;
    halves.feed(bytes.substr(0, cut), again);
    halves.feed(bytes.substr(cut), again);
    if (!same(events, again) || whole.ended() != halves.ended())
        __builtin_trap();
    for (std::size_t i = 0; i < events.size(); ++i) {
        const Event& event = events[i];
        const bool last = event.kind == Event::Kind::Close || event.kind == Event::Kind::Error;
        if (last != (i + 1 == events.size() && whole.ended()))
            __builtin_trap();
        if (event.payload.size() > stage::MaxMessageBytes)
            __builtin_trap();
        if (event.kind == Event::Kind::Text && !isUtf8(event.payload))
            __builtin_trap();
        if ((event.kind == Event::Kind::Ping || event.kind == Event::Kind::Pong) &&
            event.payload.size() > MaxControlBytes)
            __builtin_trap();
    }
    return 0;
}
