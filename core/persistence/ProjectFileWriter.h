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

    static Result write(const Project& project, const std::string& path);
};

} // namespace deskpanel
