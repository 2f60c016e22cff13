#pragma once
#include "core/model/Project.h"

#include <string>

namespace deskpanel {

// Writes the whole project file anew: the header, the preferences record and one
// record per stored scene in list order. The file is replaced atomically, so on any
// failure the previous file at `path` is left exactly as it was. The project is not
// changed; what a successful save changes in it is ProjectFiles' job.
class ProjectFileWriter {
public:
    enum class Result {
        Saved,
        CannotOpen, // no file could be created at the path
        WriteFailed, // writing, syncing or replacing failed; nothing was changed
    };

    // When the new file could not be put in place but its complete bytes were kept beside
    // it (a failed rename on Windows), `keptCopy` names that file.
    static Result write(const Project& project, const std::string& path, std::string* keptCopy = nullptr);
};

} // namespace deskpanel
