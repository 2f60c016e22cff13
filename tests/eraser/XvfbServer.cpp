#include "XvfbServer.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

XvfbServer::XvfbServer()
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return;
    m_pid = fork();
    if (m_pid == 0) {
        // Xvfb picks a free display number and writes it to the descriptor we give it.
        close(pipeFds[0]);
        int devNull = open("/dev/null", O_RDWR);
        dup2(devNull, 0);
        dup2(devNull, 1);
        dup2(devNull, 2);
        std::string fd = std::to_string(pipeFds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "640x480x24",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    if (m_pid < 0) {
        close(pipeFds[0]);
        return;
    }
    std::string number;
    pollfd waiting{pipeFds[0], POLLIN, 0};
    char c = 0;
    while (poll(&waiting, 1, 10000) > 0 && read(pipeFds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(pipeFds[0]);
    if (!number.empty())
        m_display = ":" + number;
}

XvfbServer::~XvfbServer()
{
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
}
