#pragma once
#include "core/host/Operator.h"
#include "core/host/Timers.h"
#include "core/model/Project.h"
#include "core/persistence/ByteSource.h"

namespace deskpanel {

// Reads the preferences and the scene records of a project file into the project: the
// part of opening a file that depends on its bytes. What follows (the reset of all
// channels, the project name, the recent file list) is ProjectFiles' job.
//
// Whatever the bytes hold, nothing is read past a field and no more than 199 scenes
// are created.
class ProjectFileReader {
public:
    enum class Outcome {
        Complete, // every whole record was read
        OutOfMemory, // reading stopped; the scenes read so far remain
    };

    ProjectFileReader(Project& project, Operator& op, Timers& timers);

    Outcome read(ByteSource& source);

    // Records after the 199th are not read; the operator is told so.
    static constexpr const char* TooManyScenesText =
        "This project file holds more than 199 scenes. Only the first 199 were read.";

private:
    void readPrefs(ByteSource& source);
    void takeRecord(const std::uint8_t* record);

    Project& m_project;
    Operator& m_operator;
    Timers& m_timers;
};

} // namespace deskpanel
