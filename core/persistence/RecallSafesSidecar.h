#pragma once
#include <string>

namespace deskpanel {

class Operator;
class Project;
class ProjectFiles;

// Keeps the project's recall safes in their file beside the project file: written after
// every successful save (next to the name it was saved under), read whenever a file
// replaces the project. A damaged file is read as far as it is sound and reported once.
// A file that is there but cannot be read (permission, an I/O error, a read cut short)
// is reported once and left as it is (never written over or removed) until the operator
// sets the safes again; meanwhile Project::recallSafesUnreadable holds.
class RecallSafesSidecar {
public:
    RecallSafesSidecar(Project& project, Operator& op);
    // Hooks itself into the saves and opens of `files`.
    void attachTo(ProjectFiles& files);

    void projectSaved(const std::string& projectPath);
    void projectOpened(const std::string& projectPath);

private:
    Project& m_project;
    Operator& m_operator;
    std::string m_unreadablePath; // the sidecar that could not be read
};

} // namespace deskpanel
