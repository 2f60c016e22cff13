#include "core/persistence/ProjectFileWriter.h"

#include "core/persistence/AtomicFileWriter.h"
#include "core/persistence/ProjectFileLayout.h"
#include "core/persistence/ProjectPrefsCodec.h"
#include "core/persistence/SceneRecordCodec.h"

#include <array>
#include <cstring>
#include <vector>

namespace deskpanel {

using namespace projectfile;

ProjectFileWriter::Result ProjectFileWriter::write(const Project& project, const std::string& path,
                                                   std::string* keptCopy)
{
    AtomicFileWriter file(path);
    if (!file.open())
        return Result::CannotOpen;

    std::array<std::uint8_t, RecordsOffset> head{};
    std::memcpy(head.data(), HeaderText, HeaderBytes);
    const PrefsRecord prefs = buildProjectPrefs(project.prefs);
    std::memcpy(head.data() + HeaderBytes, prefs.data(), prefs.size());
    if (!file.write(head.data(), head.size()))
        return Result::WriteFailed;

    std::vector<std::uint8_t> record(record::Bytes);
    for (int p = 1; p < project.scenes.count(); ++p) {
        encodeSceneRecord(project, project.scenes.scene(p), record.data());
        if (!file.write(record.data(), record.size()))
            return Result::WriteFailed;
    }
    if (file.commit())
        return Result::Saved;
    if (keptCopy)
        *keptCopy = file.keptCopyPath();
    return Result::WriteFailed;
}

} // namespace deskpanel
