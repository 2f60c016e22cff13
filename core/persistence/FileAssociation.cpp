#include "core/persistence/FileAssociation.h"

#include "core/persistence/AtomicFileWriter.h"
#include "core/persistence/IniFile.h"
#include "core/persistence/WideText.h"

#include <fstream>

#ifdef _WIN32
#include <windows.h>
#endif

namespace deskpanel {
namespace {

std::string commandText(const std::string& commandLine)
{
    std::string cut = commandLine;
    const auto first = commandLine.find(':');
    if (first != std::string::npos) {
        const auto second = commandLine.find(':', first + 1);
        // Cut before the character that precedes the second ":" (a drive letter).
        if (second != std::string::npos && second > 0)
            cut = commandLine.substr(0, second - 1);
    }
    std::string text;
    for (char c : cut) {
        if (c != '"')
            text += c;
    }
    return text;
}

// The program path as a quoted argument of an Exec key: inside the quotes '"', '`',
// '$' and '\' take a backslash, then the key's own string escaping doubles every
// backslash; '%' is written twice.
std::string execArgument(const std::string& path)
{
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    std::string escaped;
    for (char c : quoted) {
        if (c == '\\')
            escaped += "\\\\";
        else if (c == '%')
            escaped += "%%";
        else if (c == '\n' || c == '\r')
            escaped += ' ';
        else
            escaped += c;
    }
    return escaped;
}

#ifndef _WIN32
// True when `path` holds exactly `text`; no more than one byte beyond it is read.
bool holdsText(const std::string& path, const std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string held(text.size() + 1, '\0');
    in.read(held.data(), static_cast<std::streamsize>(held.size()));
    held.resize(static_cast<std::size_t>(in.gcount()));
    return held == text;
}

// Writes `text` to `path` unless it is there already; `changed` is raised by a write.
bool writeWhole(const std::string& path, const std::string& text, bool& changed)
{
    if (holdsText(path, text))
        return true;
    AtomicFileWriter writer(path);
    if (!writer.open() || !writer.write(text.data(), text.size()) || !writer.commit())
        return false;
    changed = true;
    return true;
}
#endif

#ifdef _WIN32
// HKEY_CLASSES_ROOT merges the machine's classes with the user's; a user without
// administrator rights can write only the user's part, which also takes precedence.
bool setDefaultValue(const std::string& keyPath, const std::string& value)
{
    const std::wstring path = widenUtf8(FileAssociation::UserClassesKey + std::string("\\") + keyPath);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const std::wstring data = widenUtf8(value);
    const LONG result = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}
#endif

} // namespace

std::string FileAssociation::className(const std::string& executablePath)
{
    std::string name;
    for (char c : executablePath) {
        if (c != ' ')
            name += c;
    }
    return name;
}

std::string FileAssociation::openCommand(const std::string& commandLine)
{
    // The program's path goes back in quotes: unquoted, "C:\Program Files\..." makes
    // Windows try "C:\Program.exe" first. The blanks left where a file argument was cut
    // off would be part of the quoted name.
    std::string program = commandText(commandLine);
    while (!program.empty() && (program.back() == ' ' || program.back() == '\t'))
        program.pop_back();
    return '"' + program + "\" \"%1\"";
}

std::string FileAssociation::iconText(const std::string& commandLine)
{
    return commandText(commandLine) + ",0";
}

std::string FileAssociation::mimePackageText()
{
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                       "  <mime-type type=\"") +
           MimeType +
           "\">\n"
           "    <comment>Veltara Project File</comment>\n"
           "    <glob pattern=\"*.vpf\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

std::string FileAssociation::desktopEntryText(const std::string& executablePath)
{
    return std::string("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=DeskPanel\n"
                       "Comment=Veltara RP-8 control\n"
                       "Exec=") +
           execArgument(executablePath) + " %f\n" + "Icon=" + IconName + "\n" + "MimeType=" + MimeType + ";\n" +
           "Terminal=false\n"
           "Categories=AudioVideo;Audio;\n";
}

std::vector<std::vector<std::string>> FileAssociation::refreshCommands(const std::string& dataHome)
{
#ifdef _WIN32
    // The shell reads the registry itself.
    (void)dataHome;
    return {};
#else
    return {{"update-mime-database", dataHome + "/mime"}, {"update-desktop-database", dataHome + "/applications"}};
#endif
}

FileAssociation::Outcome FileAssociation::registerAssociation(const std::string& dataHome,
                                                              const std::string& executablePath,
                                                              const std::string& commandLine,
                                                              const std::string& packageDatabase)
{
    Outcome outcome;
#ifdef _WIN32
    (void)dataHome;
    (void)packageDatabase;
    const std::string name = className(executablePath);
    bool ok = setDefaultValue(".vpf", name);
    ok = setDefaultValue(name + "\\shell\\open\\command", openCommand(commandLine)) && ok;
    ok = setDefaultValue(name + "\\DefaultIcon", iconText(commandLine)) && ok;
    outcome.complete = ok;
    outcome.changed = true;
#else
    (void)commandLine;
    if (dataHome.empty() || dataHome[0] != '/' || executablePath.empty())
        return outcome;
    if (PackageOwnership::isPackaged(executablePath, packageDatabase)) {
        outcome.complete = true;
        return outcome;
    }
    const std::string mimeFolder = dataHome + "/mime/packages/";
    const std::string appsFolder = dataHome + "/applications/";
    bool ok = makeFolders(mimeFolder) && writeWhole(mimeFolder + MimeFileName, mimePackageText(), outcome.changed);
    ok = makeFolders(appsFolder) &&
         writeWhole(appsFolder + DesktopFileName, desktopEntryText(executablePath), outcome.changed) && ok;
    outcome.complete = ok;
#endif
    return outcome;
}

} // namespace deskpanel
