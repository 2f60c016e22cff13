// Feeds arbitrary bytes to the channel name import as if they were a CSV file the
// operator chose: whatever they hold, the import ends, and every change it proposes is
// one the project file can hold for a channel that exists.
#include "core/model/Project.h"
#include "core/model/Text.h"
#include "core/records/ChannelNameImport.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace deskpanel;
    static const Project project;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto result = ChannelNameImport::read(bytes, project);
    int previous = -1;
    for (const auto& change : result.changes) {
        check(change.channel > previous && change.channel < MaxChannels);
        previous = change.channel;
        check(characterCount(change.newName) <= ChannelNameImport::MaxFieldChars);
        check(characterCount(change.newNotes) <= ChannelNameImport::MaxFieldChars);
        check(change.newName.find('\0') == std::string::npos);
    }
    for (const auto& refusal : result.refusals)
        check(refusal.line >= 2 && !refusal.reason.empty());
    // Records never hold more fields than the separators allow.
    const auto records = ChannelNameImport::records(bytes, ',');
    check(records.size() <= size + 1);
    return 0;
}
