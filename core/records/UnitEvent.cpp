#include "core/records/UnitEvent.h"

#include "core/records/Csv.h"

#include <array>
#include <charconv>

namespace deskpanel {

std::string eventKind(const UnitEvent& event)
{
    return event.unit == 0 ? ProgramKind : event.newState;
}

std::string eventsCsv(const std::vector<UnitEvent>& events)
{
    std::string out = csv::Utf8Bom;
    out += csv::line({"Time", "Unit", "MAC", "IP", "Old State", "New State", "Text"});
    for (const UnitEvent& e : events)
        out += csv::line({csv::textField(e.time), std::to_string(e.unit), csv::textField(e.mac), csv::textField(e.ip),
                          csv::textField(e.oldState), csv::textField(e.newState), csv::textField(e.text)});
    return out;
}

} // namespace deskpanel

namespace deskpanel::eventline {

namespace {

std::string clean(const std::string& field)
{
    std::string out = field;
    for (char& c : out)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return out;
}

} // namespace

std::string toLine(const UnitEvent& event)
{
    std::string line = clean(event.time);
    line += '\t';
    line += std::to_string(event.unit);
    for (const std::string* field : {&event.mac, &event.ip, &event.oldState, &event.newState, &event.text}) {
        line += '\t';
        line += clean(*field);
    }
    return line;
}

bool parse(const std::string& line, UnitEvent& event)
{
    std::array<std::string, 7> fields;
    std::size_t start = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t tab = line.find('\t', start);
        const bool last = i + 1 == fields.size();
        if ((tab == std::string::npos) != last)
            return false; // too few or too many fields
        const std::size_t end = last ? line.size() : tab;
        fields[i] = line.substr(start, end - start);
        start = end + 1;
    }
    if (!fields[6].empty() && fields[6].back() == '\r')
        fields[6].pop_back();
    int unit = -1;
    const auto [end, error] = std::from_chars(fields[1].data(), fields[1].data() + fields[1].size(), unit);
    if (error != std::errc{} || end != fields[1].data() + fields[1].size() || unit < 0 || unit > 255)
        return false;
    event = UnitEvent{fields[0], unit, fields[2], fields[3], fields[4], fields[5], fields[6]};
    return true;
}

std::vector<UnitEvent> parseAll(const std::string& text)
{
    std::vector<UnitEvent> events;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        UnitEvent event;
        if (parse(text.substr(start, end - start), event))
            events.push_back(std::move(event));
        start = end + 1;
    }
    return events;
}

} // namespace deskpanel::eventline
