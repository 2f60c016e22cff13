#pragma once
#include "core/host/BackgroundWork.h"
#include "core/records/ChannelSheet.h"

#include <QPageSize>
#include <QString>

#include <optional>
#include <string>

namespace deskpanel {

// Writing the channel sheet to a file, from the Files menu or the command line.
class SheetExport {
public:
    enum class Format {
        None,
        Csv,
        Pdf
    };
    // Exit codes of `DeskPanel --export-sheet`.
    static constexpr int Done = 0;
    static constexpr int Failed = 1;
    static constexpr int WrongUsage = 2;

    // From the file name's extension (".csv", ".pdf", any case).
    static Format formatOf(const std::string& path);
    // Writes the sheet as a whole or not at all; false with the reason in `error`. A PDF
    // prints `date` (empty: now, in the system's long format).
    static bool write(const ChannelSheet& sheet, const std::string& path, QPageSize::PageSizeId paper,
                      std::string& error, const QString& date = {});
    // The same on `work`'s worker, from the sheet as it is now (a copy of values, so the
    // operator may go on changing the project): a PDF of 48 units takes a second or more
    // to lay out, which the UI thread must not spend. Returns when the file is written.
    static bool writeOnWorker(BackgroundWork& work, const ChannelSheet& sheet, const std::string& path,
                              QPageSize::PageSizeId paper, std::string& error);

    // `DeskPanel --export-sheet OUT [--scene SCENE] PROJECT.vpf`: reads the project without
    // any of Open's side effects (no settings, recent list or directory written, no unit
    // touched), takes the Blank Scene's settings or the scene named, and writes OUT.
    // Returns the exit code; the reason of a failure is in `error`.
    static int fromProjectFile(const std::string& out, const std::optional<std::string>& scene,
                               const std::string& projectPath, QPageSize::PageSizeId paper, std::string& error);
};

} // namespace deskpanel
