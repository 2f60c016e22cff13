#include "core/records/ChannelNameImport.h"

#include "core/model/ChannelControl.h"
#include "core/model/LiveState.h"
#include "core/model/Text.h"
#include "core/persistence/NativePath.h"
#include "core/persistence/Windows1252.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <optional>
#include <string_view>

namespace deskpanel {

namespace {

std::optional<int> number(const std::string& text, int low, int high)
{
    const std::string t = trimmed(text);
    int value = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (t.empty() || error != std::errc{} || end != t.data() + t.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

std::string ChannelNameImport::unguarded(const std::string& text)
{
    if (text.size() >= 2 && text[0] == '\'' && std::string("=+-@\t\r").find(text[1]) != std::string::npos)
        return text.substr(1);
    return text;
}

namespace {

// A byte of the code page that a name may hold (its printable characters); notes also
// hold line breaks and tabs.
bool isKeptByte(unsigned char byte, bool multiLine)
{
    if (multiLine && (byte == '\n' || byte == '\r' || byte == '\t'))
        return true;
    if (byte >= 0x80 && byte < 0xA0) // the code page's own characters, but for its five gaps
        return std::string_view("\x81\x8D\x8F\x90\x9D").find(static_cast<char>(byte)) == std::string_view::npos;
    return isPrintableWindows1252(byte);
}

} // namespace

std::string ChannelNameImport::refusalFor(const std::string& text, const char* what, bool multiLine)
{
    if (characterCount(text) > ChannelNameImport::MaxFieldChars)
        return format("%s longer than %d characters", what, static_cast<int>(ChannelNameImport::MaxFieldChars));
    // What the file cannot hold comes back as "?" (a NUL would end the text early).
    const std::string stored = toWindows1252(text);
    const auto* storedBytes = reinterpret_cast<const std::uint8_t*>(stored.data());
    if (text.find('\0') != std::string::npos || fromWindows1252(storedBytes, stored.size()) != text)
        return format("%s has characters a project file cannot hold", what);
    if (!std::all_of(stored.begin(), stored.end(),
                     [multiLine](char byte) { return isKeptByte(static_cast<unsigned char>(byte), multiLine); }))
        return format("%s has a line break or another control character", what);
    return {};
}

std::vector<std::vector<std::string>> ChannelNameImport::records(const std::string& text, char separator,
                                                                 std::vector<int>* lineNumbers, int* unclosedQuoteLine)
{
    int quoteLine = 0;
    std::vector<std::vector<std::string>> out;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false;
    bool fieldStarted = false;
    int line = 1;
    int recordLine = 1;
    const auto endRecord = [&] {
        record.push_back(field);
        field.clear();
        fieldStarted = false;
        // A line with nothing on it is no record.
        if (!(record.size() == 1 && record[0].empty())) {
            out.push_back(std::move(record));
            if (lineNumbers)
                lineNumbers->push_back(recordLine);
        }
        record.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == '"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
            quoteLine = line;
        } else if (c == separator) {
            record.push_back(field);
            field.clear();
            fieldStarted = false;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            endRecord();
            ++line;
            recordLine = line;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (!field.empty() || !record.empty() || fieldStarted)
        endRecord();
    if (unclosedQuoteLine)
        *unclosedQuoteLine = quoted ? quoteLine : 0;
    return out;
}

char ChannelNameImport::separatorOf(const std::string& headerLine)
{
    return std::count(headerLine.begin(), headerLine.end(), ';') > std::count(headerLine.begin(), headerLine.end(), ',')
               ? ';'
               : ',';
}

ChannelNameImport::Result ChannelNameImport::read(const std::string& bytes, const Project& project)
{
    Result result;
    if (bytes.size() > MaxFileBytes) {
        result.error = "The file is too large for a list of channel names.";
        return result;
    }
    std::string text = bytes;
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    const std::string headerLine = text.substr(0, text.find_first_of("\r\n"));
    const char separator = separatorOf(headerLine);
    std::vector<int> lines;
    int unclosedQuote = 0;
    const auto rows = records(text, separator, &lines, &unclosedQuote);
    if (unclosedQuote > 0) {
        result.error =
            format("The file cannot be imported: the quote opened on line %d is never closed.", unclosedQuote);
        return result;
    }
    if (rows.empty()) {
        result.error = "The file is empty.";
        return result;
    }
    std::map<std::string, std::size_t> column;
    for (std::size_t i = 0; i < rows[0].size(); ++i)
        column.emplace(trimmed(rows[0][i]), i);
    const auto has = [&column](const char* name) { return column.count(name) != 0; };
    const bool byChannel = has("Channel");
    if (!has("Channel Name") || (!byChannel && !(has("Unit") && has("Input")))) {
        result.error = "The file needs the columns \"Channel Name\" and \"Channel\" (or \"Unit\" and \"Input\").";
        return result;
    }
    const bool withNotes = has("Notes");
    const auto field = [&column](const std::vector<std::string>& row, const char* name) {
        const std::size_t i = column.at(name);
        return i < row.size() ? row[i] : std::string();
    };

    std::map<int, Change> changes;
    std::map<int, std::vector<int>> linesOf; // the lines that name each channel
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const auto& row = rows[r];
        const int line = lines[r];
        std::optional<int> channel;
        if (byChannel) {
            if (const auto c = number(field(row, "Channel"), 1, MaxChannels))
                channel = *c - 1;
        } else {
            const auto unit = number(field(row, "Unit"), 1, MaxUnits);
            const auto input = number(field(row, "Input"), 1, ChannelsPerUnit);
            if (unit && input)
                channel = channelIndex(*unit, *input);
        }
        if (!channel) {
            result.refusals.push_back({line, byChannel ? "no channel number 1..384" : "no unit 1..48 and input 1..8"});
            continue;
        }
        const std::string name = unguarded(field(row, "Channel Name"));
        const std::string notes = withNotes ? unguarded(field(row, "Notes")) : std::string();
        std::string refusal = refusalFor(name, "the name", false);
        if (refusal.empty() && withNotes)
            refusal = refusalFor(notes, "the notes", true);
        if (!refusal.empty()) {
            result.refusals.push_back({line, format("channel %d: %s", *channel + 1, refusal.c_str())});
            continue;
        }
        linesOf[*channel].push_back(line);
        const ChannelInfo& now = project.channels[static_cast<std::size_t>(*channel)];
        Change change{*channel, now.name, name, withNotes, now.notes, withNotes ? notes : now.notes};
        if (change.newName == change.oldName && change.newNotes == change.oldNotes) {
            changes.erase(*channel); // a later row puts it back as it is
            continue;
        }
        changes[*channel] = std::move(change); // the last row for a channel wins
    }
    for (const auto& [channel, numbers] : linesOf) {
        if (numbers.size() < 2)
            continue;
        std::string listed;
        for (std::size_t i = 0; i < numbers.size(); ++i)
            listed += (i == 0 ? "" : i + 1 == numbers.size() ? " and " : ", ") + std::to_string(numbers[i]);
        result.warnings.push_back(
            format("Channel %03d is given on lines %s: line %d counts.", channel + 1, listed.c_str(), numbers.back()));
    }
    for (auto& [channel, change] : changes) {
        if (change.newName.empty() && !change.oldName.empty())
            result.warnings.push_back(
                format("Channel %03d: \"%s\" is left without a name.", channel + 1, change.oldName.c_str()));
        result.changes.push_back(std::move(change));
    }
    return result;
}

ChannelNameImport::Result ChannelNameImport::readFile(const std::string& path, const Project& project)
{
    std::ifstream in(nativePath(path), std::ios::binary);
    std::string bytes;
    if (in) {
        // One byte past the limit is enough to refuse a larger file without reading it all.
        bytes.resize(MaxFileBytes + 1);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
    }
    if (!in && !in.eof()) {
        Result result;
        result.error = format("The file \"%s\" cannot be read.", path.c_str());
        return result;
    }
    return read(bytes, project);
}

std::string ChannelNameImport::run(const Result& result, const Project& project, ChannelControl& channels,
                                   ChangeListDialog& preview)
{
    if (!result.error.empty())
        return result.error;
    if (result.changes.empty() && result.refusals.empty() && result.warnings.empty())
        return NothingToImportText;
    if (preview.confirm(ChannelNameImport::preview(result)))
        apply(result.changes, project, channels);
    return {};
}

ChangeList ChannelNameImport::preview(const Result& result)
{
    ChangeList list;
    list.caption = "Import Channel Names";
    list.acceptText = "&Import";
    list.heading = result.changes.empty() ? "No channel name changes. Nothing will be imported:"
                                          : format("%d channels will change:", static_cast<int>(result.changes.size()));
    for (const std::string& warning : result.warnings)
        list.lines.push_back({ChangeLine::Kind::Warning, warning});
    for (const Refusal& refusal : result.refusals)
        list.lines.push_back(
            {ChangeLine::Kind::Warning, format("Line %d refused: %s", refusal.line, refusal.reason.c_str())});
    for (const Change& change : result.changes) {
        std::string text = format("Channel %03d: ", change.channel + 1);
        if (change.newName != change.oldName)
            text += format("\"%s\" to \"%s\"", change.oldName.c_str(), change.newName.c_str());
        else
            text += format("\"%s\"", change.newName.c_str());
        if (change.newNotes != change.oldNotes)
            text += change.newNotes.empty() ? ", notes cleared" : ", new notes";
        list.lines.push_back({ChangeLine::Kind::Change, text});
    }
    return list;
}

void ChannelNameImport::apply(const std::vector<Change>& changes, const Project& project, ChannelControl& channels)
{
    // One undo step that holds the texts it changes and nothing else: its Undo sends
    // nothing and leaves gains, scenes and markers as they are by then.
    ChannelTextChanges texts;
    // The old texts as they are now: the preview's box ran a nested event loop.
    for (const Change& change : changes) {
        if (!isValidChannel(change.channel))
            continue;
        const ChannelInfo& info = project.channels[static_cast<std::size_t>(change.channel)];
        texts.push_back({change.channel, info.name, info.notes, change.newName, change.newNotes});
    }
    channels.changeChannelTexts(std::move(texts));
}

} // namespace deskpanel
