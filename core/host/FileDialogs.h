#pragma once
#include <optional>
#include <string>

namespace deskpanel {

// What a file dialog is opened with. The texts are the program's own.
struct FileDialogRequest {
    std::string title;
    std::string filterName; // "Veltara Project Files (*.vpf)"
    std::string pattern; // "*.vpf"
    std::string defaultExtension; // "vpf"
    std::string startPath; // a folder or a file to start at
    bool mustExist = false; // Open: the file and its folder must exist
    bool confirmOverwrite = false; // Save As: ask before replacing a file
};

// The Open and Save As dialogs. Modal: timers and datagrams keep running while one is
// open. Returns the chosen path, or nothing when the operator cancelled.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<std::string> askSaveAs(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> askOpen(const FileDialogRequest& request) = 0;
};

} // namespace deskpanel
