#pragma once
#include <string>
#include <vector>

namespace deskpanel {

// One entry of the event log: a change of a unit number's state, or something of the
// program itself (its start and exit, the host port). Unit 0 stands for the program.
struct UnitEvent {
    std::string time; // "2026-12-07 22:41:07.123 +01:00"
    int unit = 0;
    std::string mac; // "0050C2100007", empty when unknown
    std::string ip;
    std::string oldState; // "ACTIVE" ...; empty for the program's own events
    std::string newState; // a state name, or "START", "EXIT", "PORT BUSY", "PORT BOUND"
    std::string text;

    bool operator==(const UnitEvent&) const = default;
};

// The program's own entries in the new-state column.
namespace eventkind {
inline constexpr const char* Start = "START";
inline constexpr const char* Exit = "EXIT";
inline constexpr const char* PortBusy = "PORT BUSY";
inline constexpr const char* PortBound = "PORT BOUND";
inline constexpr const char* SendFailed = "SEND FAILED";
inline constexpr const char* NoUnitHeard = "NO UNIT HEARD";
} // namespace eventkind

// What the event window filters by: the new state's name, or "PROGRAM" for the
// program's own events.
std::string eventKind(const UnitEvent& event);
inline constexpr const char* ProgramKind = "PROGRAM";

// The events as a CSV file (UTF-8 with BOM, RFC 4180), in the order given, under the
// log's own column names.
std::string eventsCsv(const std::vector<UnitEvent>& events);

// The log's text form: one event per line, tab-separated, in the header's order.
namespace eventline {
inline constexpr const char* Header = "Time\tUnit\tMAC\tIP\tOld State\tNew State\tText";
// Tabs and line breaks inside a field become blanks, so a line is always one event.
std::string toLine(const UnitEvent& event);
// False for the header, an empty line or a line that is not an event.
bool parse(const std::string& line, UnitEvent& event);
// Every event of a log file's text, oldest first; other lines are skipped.
std::vector<UnitEvent> parseAll(const std::string& text);
} // namespace eventline

} // namespace deskpanel
