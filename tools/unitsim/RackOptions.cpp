#include "RackOptions.h"

#include <cstdlib>

namespace unitsim {

const char* rackUsage()
{
    return "usage: unitsim [options]\n"
           "  --units N              number of units, 1..48 (48)\n"
           "  --first N              unit number of the first unit (1)\n"
           "  --first-address A      loopback address of the first unit (127.0.0.11)\n"
           "  --host A               address of DeskPanel (127.0.0.1)\n"
           "  --host-port P          DeskPanel's port (2000)\n"
           "  --unit-port P          the units' port (2001)\n"
           "  --duration MS          stop after MS milliseconds (run until SIGINT/SIGTERM)\n"
           "  --report-every MS      print the units' state every MS milliseconds\n"
           "  --interval MS          send every MS milliseconds whatever the polls ask\n"
           "Misbehaviour, for the unit that starts as number U:\n"
           "  --local U              front-panel (LOCAL) mode\n"
           "  --abnormal U:WHAT      WHAT = 48v, 24v, 5v, 3v3 or temp out of range\n"
           "  --number U:N           report number N instead (0, 49.., or another unit's)\n"
           "  --renumber U:N:MS      report number N from MS milliseconds on\n"
           "  --wrong-magic U        send a wrong packet magic\n"
           "  --foreign-mac U        also send packets with another MAC from U's address\n"
           "  --silent U:FROM:TO     fall silent from FROM until TO milliseconds\n"
           "  --reduced U            the reduced-gain variant\n"
           "The units' state is printed as JSON lines at exit and on SIGUSR1.\n";
}

UnitBehaviour& RackOptions::behaviourOf(int unitNumber)
{
    auto [entry, inserted] = behaviours.try_emplace(unitNumber);
    if (inserted)
        entry->second.reportedNumber = unitNumber;
    return entry->second;
}

namespace {

// Splits "a:b:c" into numbers; false unless exactly `count` whole numbers.
bool numbers(const std::string& text, std::size_t count, std::vector<long>& out)
{
    out.clear();
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find(':', start);
        const std::string part = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        char* rest = nullptr;
        const long value = std::strtol(part.c_str(), &rest, 10);
        if (part.empty() || *rest != '\0' || value < 0 || value > 100000000)
            return false;
        out.push_back(value);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return out.size() == count;
}

} // namespace

bool parseRackOptions(const std::vector<std::string>& args, RackOptions& options, std::string& error)
{
    std::vector<long> n;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h") {
            error = "";
            return false;
        }
        if (i + 1 >= args.size()) {
            error = "option " + option + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        auto bad = [&] {
            error = "bad value '" + value + "' for " + option;
            return false;
        };
        if (option == "--units") {
            if (!numbers(value, 1, n) || n[0] < 1 || n[0] > 48)
                return bad();
            options.unitCount = static_cast<int>(n[0]);
        } else if (option == "--first") {
            if (!numbers(value, 1, n) || n[0] < 1 || n[0] > 255)
                return bad();
            options.firstUnitNumber = static_cast<int>(n[0]);
        } else if (option == "--first-address") {
            options.firstAddress = value;
        } else if (option == "--host") {
            options.hostAddress = value;
        } else if (option == "--host-port" || option == "--unit-port") {
            if (!numbers(value, 1, n) || n[0] < 1 || n[0] > 65535)
                return bad();
            (option == "--host-port" ? options.hostPort : options.unitPort) = static_cast<std::uint16_t>(n[0]);
        } else if (option == "--interval") {
            if (!numbers(value, 1, n) || n[0] < 1 || n[0] > 10000)
                return bad();
            options.fixedIntervalMs = static_cast<std::uint16_t>(n[0]);
        } else if (option == "--duration" || option == "--report-every") {
            if (!numbers(value, 1, n))
                return bad();
            (option == "--duration" ? options.durationMs : options.reportEveryMs) = static_cast<std::uint32_t>(n[0]);
        } else if (option == "--local" || option == "--wrong-magic" || option == "--foreign-mac" ||
                   option == "--reduced") {
            if (!numbers(value, 1, n))
                return bad();
            UnitBehaviour& b = options.behaviourOf(static_cast<int>(n[0]));
            if (option == "--local")
                b.localMode = true;
            if (option == "--wrong-magic")
                b.wrongMagic = true;
            if (option == "--foreign-mac")
                b.foreignMac = true;
            if (option == "--reduced")
                b.reducedGain = true;
        } else if (option == "--abnormal") {
            const auto colon = value.find(':');
            const std::string what = colon == std::string::npos ? "" : value.substr(colon + 1);
            if (!numbers(value.substr(0, colon), 1, n) ||
                (what != "48v" && what != "24v" && what != "5v" && what != "3v3" && what != "temp"))
                return bad();
            options.behaviourOf(static_cast<int>(n[0])).abnormal = what;
        } else if (option == "--number") {
            if (!numbers(value, 2, n) || n[1] > 255)
                return bad();
            // Kept under the number it starts with; it reports the other.
            UnitBehaviour& b = options.behaviourOf(static_cast<int>(n[0]));
            b.reportedNumber = static_cast<int>(n[1]);
        } else if (option == "--renumber") {
            if (!numbers(value, 3, n) || n[1] > 255)
                return bad();
            UnitBehaviour& b = options.behaviourOf(static_cast<int>(n[0]));
            b.renumberTo = static_cast<int>(n[1]);
            b.renumberAtMs = static_cast<std::uint32_t>(n[2]);
        } else if (option == "--silent") {
            if (!numbers(value, 3, n) || n[2] <= n[1])
                return bad();
            UnitBehaviour& b = options.behaviourOf(static_cast<int>(n[0]));
            b.silentFromMs = static_cast<std::uint32_t>(n[1]);
            b.silentToMs = static_cast<std::uint32_t>(n[2]);
        } else {
            error = "unknown option " + option;
            return false;
        }
    }
    return true;
}

} // namespace unitsim
