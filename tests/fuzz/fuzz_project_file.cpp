// Feeds arbitrary bytes to the project file reader. Whole scene records are 222212
// bytes, far longer than fuzz inputs, so besides reading an input as it stands the
// target can build a file from it: an optional header, a number of records tiled with
// the input's bytes (texts without NULs, odd unit counts, values out of range) and a
// cut-short end.
#include "core/model/Project.h"
#include "core/persistence/ByteSource.h"
#include "core/persistence/ProjectFileLayout.h"
#include "core/persistence/ProjectFileReader.h"

#include "tests/support/QuietHost.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using namespace deskpanel;

std::size_t characters(const std::string& utf8)
{
    std::size_t n = 0;
    for (unsigned char c : utf8)
        n += (c & 0xC0) != 0x80;
    return n;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkProject(const Project& project)
{
    check(project.scenes.count() >= 1 && project.scenes.count() <= MaxSceneEntries);
    for (int p = 1; p < project.scenes.count(); ++p) {
        const Scene& scene = project.scenes.scene(p);
        check(characters(scene.name) <= projectfile::TextBytes);
        check(characters(scene.notes) <= projectfile::TextBytes);
        for (const auto& s : scene.settings) {
            check(s.gainPosition >= 0 && s.gainPosition <= MaxGainPosition);
            check(s.gainAux >= 0 && s.gainAux <= MaxGainPosition);
            check(s.linkGroup >= 0 && s.linkGroup <= MaxLinkGroups);
            check(s.mute == 0 || s.mute == 1);
            check(s.linkButton == 0 || s.linkButton == 1);
        }
    }
    for (const auto& channel : project.channels)
        check(characters(channel.name) <= projectfile::TextBytes);
}

std::vector<std::uint8_t> buildFile(const std::uint8_t* data, std::size_t size)
{
    const bool header = data[0] & 0x02;
    // Up to three records; a full list of 199 is too slow to fuzz and has its own test.
    const std::size_t records = data[1] % 4;
    const std::size_t cut = data[2];
    const std::uint8_t* fill = data + 3;
    const std::size_t fillSize = size - 3;

    std::vector<std::uint8_t> file;
    if (header) {
        file.resize(projectfile::RecordsOffset, 0);
        std::memcpy(file.data(), projectfile::HeaderText, projectfile::HeaderBytes);
        for (std::size_t i = 0; i < projectfile::PrefsBytes && i < fillSize; ++i)
            file[projectfile::HeaderBytes + i] = fill[i];
    }
    const std::size_t start = file.size();
    file.resize(start + records * projectfile::record::Bytes, 0);
    for (std::size_t i = start; fillSize > 0 && i < file.size(); i += fillSize)
        std::memcpy(file.data() + i, fill, std::min(fillSize, file.size() - i));
    file.resize(file.size() - (cut < file.size() ? cut : file.size()));
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::uint8_t> bytes;
    if (size >= 3 && (data[0] & 0x01))
        bytes = buildFile(data, size);
    else
        bytes.assign(data, data + size);

    Project project;
    test::QuietOperator op;
    test::IdleTimers timers;
    MemorySource source(bytes.data(), bytes.size());
    ProjectFileReader(project, op, timers).read(source);
    checkProject(project);
    return 0;
}
