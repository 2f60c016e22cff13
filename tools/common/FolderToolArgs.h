#pragma once
#include <QByteArray>
#include <QtGlobal>

#include <cstdio>
#include <cstring>
#include <optional>

// The command line of a tool that writes into one folder: `tool DIR`.
namespace FolderToolArgs {

// True for `tool --help` and `tool -h`.
inline bool asksForHelp(int argc, char** argv)
{
    return argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0);
}

// Answers --help and -h with `usage` on stdout (exit code 0) and anything but one folder
// with `usage` on stderr (exit code 2); an option is never taken for the folder. Returns
// nothing when the tool should go on with argv[1].
inline std::optional<int> check(int argc, char** argv, const char* usage)
{
    if (asksForHelp(argc, argv)) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::fputs(usage, stderr);
        return 2;
    }
    return std::nullopt;
}

// The tools only draw into files, so they need no display unless one is asked for.
inline void preferOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace FolderToolArgs
