// Feeds arbitrary text to the preset file reader, the clipboard line reader and the preset
// CSV import. None may crash; the damaged lines must be real line numbers in ascending order; every preset
// read must be one the library can hold; and what was read must come back unchanged
// through the writers.
#include "core/records/ClipboardLine.h"
#include "core/records/PresetCsv.h"
#include "core/records/PresetLibrary.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

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
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const PresetLibrary::Decoded decoded = PresetLibrary::decode(text);
    int lines = 1;
    for (char c : text)
        lines += c == '\n';
    int previous = 0;
    for (int line : decoded.damagedLines) {
        check(line > previous && line <= lines);
        previous = line;
    }
    check(decoded.library.size() <= PresetLibrary::MaxPresets);
    for (std::size_t i = 0; i < decoded.library.size(); ++i) {
        const ChannelPreset& preset = decoded.library.presets()[i];
        check(preset.settings.valid());
        check(decoded.library.nameProblem(preset.name, i).empty());
    }
    const PresetLibrary::Decoded again = PresetLibrary::decode(decoded.library.encode());
    check(again.damagedLines.empty());
    check(again.library.presets() == decoded.library.presets());

    if (const auto line = ClipboardLine::read(text)) {
        check(line->valid() && !line->empty());
        check(ClipboardLine::read(ClipboardLine::write(*line)) == line);
    }
    // Whatever the import takes, the library can hold and the export gives back.
    const PresetCsv::Import import = PresetCsv::read(std::string(text));
    PresetLibrary library;
    PresetCsv::apply(import, library);
    check(library.presets() == import.presets);
    check(PresetCsv::read(PresetCsv::write(library)).presets == import.presets);
    return 0;
}
