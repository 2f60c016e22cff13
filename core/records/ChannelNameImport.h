#pragma once
#include "core/host/ChangeListDialog.h"
#include "core/model/Project.h"

#include <string>
#include <vector>

namespace deskpanel {

class ChannelControl;

// Reads channel names (and notes) from a CSV file as a spreadsheet saves it, and works out
// what they would change in the project. Nothing is applied here.
//
// The file is UTF-8 with or without BOM; its header line decides the separator (a
// semicolon when the header has more semicolons than commas, else a comma) and the
// columns: "Channel" (1..384), or "Unit" (1..48) and "Input" (1..8), and "Channel Name";
// "Notes" when present. Quoted fields follow RFC 4180. The leading apostrophe the channel
// sheet's formula guard adds is taken off again. A name or note longer than 99 characters,
// or with a character the project file cannot hold, is refused, never cut; so is a line
// break or other control character in a name (notes may hold line breaks and tabs, as the
// naming dialog's notes do). A quote that is never closed would swallow the rest of the
// file, so such a file is refused as a whole, naming the line the quote opened on.
class ChannelNameImport {
public:
    // Files beyond this are refused as a whole (a full sheet is well under 100 KiB).
    static constexpr std::size_t MaxFileBytes = 4 * 1024 * 1024;
    static constexpr std::size_t MaxFieldChars = 99;

    struct Change {
        int channel = 0; // 0..383
        std::string oldName, newName;
        bool notesGiven = false;
        std::string oldNotes, newNotes;
    };
    struct Refusal {
        int line = 0; // 1-based line of the file
        std::string reason;
    };
    struct Result {
        std::string error; // non-empty: the file as a whole cannot be used
        std::vector<Change> changes; // in channel order, only what differs
        std::vector<Refusal> refusals;
        // What the operator should look at before going ahead, listed first: a channel
        // given on more than one line, a change that leaves a channel without a name.
        std::vector<std::string> warnings;
    };

    static Result read(const std::string& bytes, const Project& project);
    // The same from the file at `path`; a file that cannot be read is an error.
    static Result readFile(const std::string& path, const Project& project);
    // The import as the operator makes it: the preview, then the changes when the operator
    // goes ahead. Returns what the operator is told afterwards (empty: nothing).
    static std::string run(const Result& result, const Project& project, ChannelControl& channels,
                           ChangeListDialog& preview);
    static constexpr const char* NothingToImportText = "The file changes no channel names.";
    // What the operator sees before the import: the refusals first, then each change.
    static ChangeList preview(const Result& result);
    // Applies the changes as one step that Undo takes back whole.
    static void apply(const std::vector<Change>& changes, const Project& project, ChannelControl& channels);
    // The file's records: fields split, quotes undone. `separator` is ',' or ';'. A quote
    // still open at the end of the text sets `unclosedQuoteLine` to the line it opened on
    // (0 when every quote is closed).
    static std::vector<std::vector<std::string>> records(const std::string& text, char separator,
                                                         std::vector<int>* lineNumbers = nullptr,
                                                         int* unclosedQuoteLine = nullptr);
    // The separator a header line asks for: ';' when it has more semicolons than commas.
    static char separatorOf(const std::string& headerLine);
    // A field without the apostrophe the formula guard put before it.
    static std::string unguarded(const std::string& text);
    // Why a project file cannot hold `text` ("<what> longer than 99 characters" and the
    // like); empty when it can. `multiLine` allows line breaks and tabs.
    static std::string refusalFor(const std::string& text, const char* what, bool multiLine);
};

} // namespace deskpanel
