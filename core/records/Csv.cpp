#include "core/records/Csv.h"

namespace deskpanel::csv {

std::string textField(const std::string& text)
{
    std::string value = text;
    if (!value.empty()) {
        const char first = value.front();
        if (first == '=' || first == '+' || first == '-' || first == '@' || first == '\t' || first == '\r')
            value.insert(value.begin(), '\'');
    }
    if (value.find_first_of(",\"\r\n") == std::string::npos)
        return value;
    std::string quoted = "\"";
    for (char c : value) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string line(const std::vector<std::string>& fields)
{
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        out += fields[i];
    }
    out += "\r\n";
    return out;
}

} // namespace deskpanel::csv
