// unitsim: a rack of simulated units speaking the unit protocol over UDP on loopback.
#include "RackOptions.h"
#include "SimulatedRack.h"

#include <atomic>
#include <csignal>
#include <cstdio>

namespace {
std::atomic<bool> g_stop{false};
std::atomic<bool> g_report{false};
void onStop(int)
{
    g_stop = true;
}
void onReport(int)
{
    g_report = true;
}
} // namespace

int main(int argc, char** argv)
{
    unitsim::RackOptions options;
    std::string error;
    if (!unitsim::parseRackOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        if (!error.empty())
            std::fprintf(stderr, "unitsim: %s\n", error.c_str());
        std::fputs(unitsim::rackUsage(), error.empty() ? stdout : stderr);
        return error.empty() ? 0 : 2;
    }
    unitsim::SimulatedRack rack(options);
    if (!rack.open(error)) {
        std::fprintf(stderr, "unitsim: %s\n", error.c_str());
        return 1;
    }
    std::signal(SIGINT, onStop);
    std::signal(SIGTERM, onStop);
    std::signal(SIGUSR1, onReport);
    rack.run(g_stop, g_report);
    rack.report();
    return 0;
}
