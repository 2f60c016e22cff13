#include "FakePlatform.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "PathRules.h"

class FakePlatform::Enumeration : public DirectoryEnumeration {
public:
    Enumeration(FakePlatform& platform, const std::string& directory, int failAfter)
        : m_platform(platform), m_directory(directory), m_failAfter(failAfter)
    {
        // Like the real thing, "." and ".." come first.
        m_names = {".", ".."};
        for (const std::string& name : platform.m_nodes.at(directory).children)
            m_names.push_back(name);
    }

    bool next(DirectoryEntry& entry) override
    {
        bool pastDots = m_position >= 2;
        if (pastDots && m_failAfter >= 0 && m_returned >= m_failAfter)
            return m_platform.fail(PlatformError::Other);
        // Entries deleted since the enumeration started are not returned again.
        while (m_position < m_names.size()) {
            const std::string& name = m_names[m_position++];
            if (name == "." || name == "..") {
                entry = DirectoryEntry{name, true, false};
                return true;
            }
            auto node = m_platform.m_nodes.find(m_directory + "\\" + name);
            if (node == m_platform.m_nodes.end())
                continue;
            entry = DirectoryEntry{name, node->second.isDirectory, node->second.readOnly};
            ++m_returned;
            return true;
        }
        return m_platform.fail(PlatformError::NoMoreFiles);
    }

private:
    FakePlatform& m_platform;
    std::string m_directory;
    std::vector<std::string> m_names;
    std::size_t m_position = 0;
    int m_failAfter;
    int m_returned = 0;
};

FakePlatform::FakePlatform()
{
    m_nodes["C:"] = Node{true, false, false, {}, {}};
    addFolder("C:\\Users");
    addFolder(home);
}

void FakePlatform::addFolder(const std::string& path)
{
    addNode(path, Node{true, false, false, {}, {}});
}

void FakePlatform::addFile(const std::string& path, bool readOnly, bool locked)
{
    addNode(path, Node{false, readOnly, locked, {}, {}});
}

void FakePlatform::addTextFile(const std::string& path, const std::string& contents)
{
    addNode(path, Node{false, false, false, {}, contents});
}

void FakePlatform::addNode(const std::string& path, Node node)
{
    auto parent = m_nodes.find(parentOf(path));
    if (parent == m_nodes.end() || !parent->second.isDirectory) {
        throw std::logic_error("no folder to hold " + path);
    }
    // Adding a path again replaces what was there.
    if (m_nodes.count(path) == 0)
        parent->second.children.push_back(nameOf(path));
    m_nodes[path] = std::move(node);
}

void FakePlatform::eraseNode(const std::string& path)
{
    std::vector<std::string>& siblings = m_nodes.at(parentOf(path)).children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), nameOf(path)));
    m_nodes.erase(path);
}

bool FakePlatform::exists(const std::string& path) const
{
    return m_nodes.count(path) != 0;
}

void FakePlatform::failEnumerationAfter(const std::string& folder, int entries)
{
    m_enumerationFailures[folder] = entries;
}

std::vector<std::string> FakePlatform::deletions() const
{
    std::vector<std::string> result;
    for (const std::string& entry : log) {
        if (entry.rfind("rmdir ", 0) == 0 || entry.rfind("delete ", 0) == 0)
            result.push_back(entry);
    }
    return result;
}

std::string FakePlatform::parentOf(const std::string& path)
{
    std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string FakePlatform::nameOf(const std::string& path)
{
    return path.substr(path.rfind('\\') + 1);
}

bool FakePlatform::fail(PlatformError error)
{
    m_lastError = error;
    return false;
}

PathStyle FakePlatform::pathStyle() const
{
    return PathStyle{'\\', maxPath, true};
}

void FakePlatform::messageBox(const std::string& caption, const std::string& text)
{
    if (caption != "Remove Program")
        throw std::logic_error("unexpected caption " + caption);
    messages.push_back(text);
    log.push_back("message " + text);
}

bool FakePlatform::findTopLevelWindow(const std::string& title)
{
    bool open = title == windowTitle && windowOpenForLookups > 0;
    if (open)
        --windowOpenForLookups;
    log.push_back(open ? "lookup open" : "lookup none");
    return open;
}

void FakePlatform::pauseBetweenLookups()
{
    log.push_back("pause");
}

bool FakePlatform::removeDirectory(const std::string& path)
{
    log.push_back("try rmdir " + path);
    auto node = m_nodes.find(path);
    if (node == m_nodes.end())
        return fail(PlatformError::PathNotFound);
    if (!node->second.isDirectory)
        return fail(PlatformError::Other);
    if (!node->second.children.empty())
        return fail(PlatformError::DirNotEmpty);
    log.back() = "rmdir " + path;
    eraseNode(path);
    return true;
}

std::unique_ptr<DirectoryEnumeration> FakePlatform::enumerate(const std::string& directory)
{
    log.push_back("enumerate " + directory);
    auto node = m_nodes.find(directory);
    if (node == m_nodes.end() || !node->second.isDirectory) {
        fail(PlatformError::PathNotFound);
        return nullptr;
    }
    auto failure = m_enumerationFailures.find(directory);
    int failAfter = failure == m_enumerationFailures.end() ? -1 : failure->second;
    return std::make_unique<Enumeration>(*this, directory, failAfter);
}

bool FakePlatform::setAttributesNormal(const std::string& path)
{
    log.push_back("attrib " + path);
    auto node = m_nodes.find(path);
    if (node == m_nodes.end())
        return fail(PlatformError::PathNotFound);
    node->second.readOnly = false;
    return true;
}

bool FakePlatform::deleteFile(const std::string& path)
{
    log.push_back("try delete " + path);
    auto node = m_nodes.find(path);
    if (node == m_nodes.end())
        return fail(PlatformError::PathNotFound);
    if (node->second.isDirectory || node->second.readOnly || node->second.locked) {
        return fail(PlatformError::Other);
    }
    log.back() = "delete " + path;
    eraseNode(path);
    return true;
}

PlatformError FakePlatform::lastError() const
{
    return m_lastError;
}

bool FakePlatform::deleteAtRestart(const std::string& path)
{
    log.push_back("schedule deletion " + path);
    deleteAtRestartPaths.push_back(path);
    return true;
}

bool FakePlatform::readFile(const std::string& path, std::string& contents) const
{
    std::string key = storedSpelling(path);
    if (key.empty() || m_nodes.at(key).isDirectory)
        return false;
    contents = m_nodes.at(key).contents;
    return true;
}

void FakePlatform::forgetInstallation(const std::string& folder)
{
    log.push_back("forget " + folder);
    forgottenInstallations.push_back(folder);
}

PathKind FakePlatform::kindOf(const std::string& path) const
{
    std::string key = storedSpelling(path);
    if (key.empty())
        return PathKind::Missing;
    return m_nodes.at(key).isDirectory ? PathKind::Directory : PathKind::Other;
}

bool FakePlatform::isAbsolute(const std::string& path) const
{
    return PathRules::isWindowsAbsolute(path);
}

std::string FakePlatform::fullPath(const std::string& path) const
{
    return storedSpelling(path);
}

// Like the real drive, names are found whatever their case and with or without a
// separator at the end.
std::string FakePlatform::storedSpelling(const std::string& path) const
{
    std::string wanted = PathRules::withoutTrailingSeparators(path, '\\');
    if (wanted.size() == 3 && wanted[1] == ':')
        wanted.pop_back();
    auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
        return text;
    };
    for (const auto& [key, node] : m_nodes) {
        if (lower(key) == lower(wanted))
            return key;
    }
    return {};
}

bool FakePlatform::isFilesystemRoot(const std::string& fullPath) const
{
    return PathRules::isWindowsDriveOrShareRoot(fullPath);
}

std::string FakePlatform::homeFolder() const
{
    return home;
}
