#include "PackageManager.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <sstream>
#include <vector>

extern char** environ;

namespace {

bool isPackageName(const std::string& name)
{
    if (name.size() < 2 || !(std::isalnum(static_cast<unsigned char>(name[0]))))
        return false;
    for (char c : name) {
        bool lowerOrDigit = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!lowerOrDigit && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

// Runs a program found on PATH with no input; its exit code, -1 when it could not run.
// `output` receives its standard output when given, else that goes where ours goes.
int run(std::vector<std::string> arguments, std::string* output)
{
    int pipeEnds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output != nullptr) {
        if (pipe(pipeEnds) != 0)
            return -1;
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    int started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (output != nullptr) {
        close(pipeEnds[1]);
        char buffer[4096];
        ssize_t n = 0;
        while (started == 0 && (n = read(pipeEnds[0], buffer, sizeof buffer)) != 0) {
            if (n > 0)
                output->append(buffer, static_cast<std::size_t>(n));
            else if (errno != EINTR)
                break;
        }
        close(pipeEnds[0]);
    }
    if (started != 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

std::string DpkgPackageManager::ownerFromQueryOutput(const std::string& output)
{
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        // "diversion by ..." lines tell who diverted a file, not who owns it.
        if (line.rfind("diversion ", 0) == 0)
            continue;
        std::size_t colon = line.find(": ");
        if (colon == std::string::npos)
            continue;
        std::string name = line.substr(0, line.find_first_of(",:"));
        return isPackageName(name) ? name : std::string();
    }
    return {};
}

std::string DpkgPackageManager::owner(const std::string& path)
{
    std::string output;
    if (run({"dpkg-query", "-S", path}, &output) != 0)
        return {};
    return ownerFromQueryOutput(output);
}

bool DpkgPackageManager::remove(const std::string& package)
{
    return isPackageName(package) && run({"pkexec", "apt-get", "remove", "-y", package}, nullptr) == 0;
}

std::string manualRemovalCommand(const std::string& package)
{
    return "sudo apt-get remove " + package;
}
