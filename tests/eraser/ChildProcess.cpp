#include "ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

ChildProcess::ChildProcess(const std::string& program, const Options& options)
{
    // The input goes through a file so that a child which reads nothing cannot block us.
    char inputPattern[] = "/tmp/eraser-input-XXXXXX";
    int inputFd = mkstemp(inputPattern);
    if (inputFd < 0)
        throw std::runtime_error("cannot create the child's input");
    m_inputFile = inputPattern;
    if (write(inputFd, options.input.data(), options.input.size()) != static_cast<ssize_t>(options.input.size())) {
        throw std::runtime_error("cannot write the child's input");
    }
    lseek(inputFd, 0, SEEK_SET);

    std::vector<std::string> arguments{program};
    arguments.insert(arguments.end(), options.arguments.begin(), options.arguments.end());

    m_pid = fork();
    if (m_pid < 0)
        throw std::runtime_error("fork failed");
    if (m_pid == 0) {
        for (const auto& [name, value] : options.environment) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
        std::string output = options.outputFile.empty() ? "/dev/null" : options.outputFile;
        int outputFd = open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        dup2(inputFd, 0);
        dup2(outputFd, 1);
        dup2(outputFd, 2);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(inputFd);
}

ChildProcess::~ChildProcess()
{
    if (m_pid > 0 && running()) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, &m_status, 0);
    }
    unlink(m_inputFile.c_str());
}

bool ChildProcess::running()
{
    if (m_exited)
        return false;
    pid_t result = waitpid(m_pid, &m_status, WNOHANG);
    if (result == m_pid)
        m_exited = true;
    return !m_exited;
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds timeout)
{
    eventually([this] { return !running(); }, timeout);
    if (!m_exited || !WIFEXITED(m_status))
        return std::nullopt;
    return WEXITSTATUS(m_status);
}

std::string ChildProcess::readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}
