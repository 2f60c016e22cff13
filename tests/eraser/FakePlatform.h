#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "RemovalPlatform.h"

// A Windows-like platform whose drive is a file tree in memory. Files can be read-only
// (deleting them fails until the attribute is cleared) or locked (deleting them always
// fails), a window titled like the first stage can stay open for a number of look-ups,
// and every operation is written to a log in the order it happened.
class FakePlatform : public RemovalPlatform {
public:
    FakePlatform();

    void addFolder(const std::string& path);
    void addFile(const std::string& path, bool readOnly = false, bool locked = false);
    // A file whose contents readFile returns.
    void addTextFile(const std::string& path, const std::string& contents);
    bool exists(const std::string& path) const;
    // Enumerating this folder fails with an error other than "no more files" after
    // the given number of entries.
    void failEnumerationAfter(const std::string& folder, int entries);

    int windowOpenForLookups = 0;
    std::string windowTitle = "UninstallVeltaraRP8";
    std::size_t maxPath = 260;
    std::string home = "C:\\Users\\operator";

    std::vector<std::string> log; // "rmdir C:\x", "delete ...", "attrib ...", "lookup open", ...
    std::vector<std::string> messages; // the texts of the message boxes, in order
    std::vector<std::string> deleteAtRestartPaths;
    std::vector<std::string> forgottenInstallations; // the folders passed to forgetInstallation

    // The log entries that changed the tree, in order.
    std::vector<std::string> deletions() const;

    PathStyle pathStyle() const override;
    void messageBox(const std::string& caption, const std::string& text) override;
    bool findTopLevelWindow(const std::string& title) override;
    void pauseBetweenLookups() override;
    bool removeDirectory(const std::string& path) override;
    std::unique_ptr<DirectoryEnumeration> enumerate(const std::string& directory) override;
    bool setAttributesNormal(const std::string& path) override;
    bool deleteFile(const std::string& path) override;
    PlatformError lastError() const override;
    bool deleteAtRestart(const std::string& path) override;
    bool readFile(const std::string& path, std::string& contents) const override;
    void forgetInstallation(const std::string& folder) override;
    PathKind kindOf(const std::string& path) const override;
    bool isAbsolute(const std::string& path) const override;
    std::string fullPath(const std::string& path) const override;
    bool isFilesystemRoot(const std::string& fullPath) const override;
    std::string homeFolder() const override;

private:
    struct Node {
        bool isDirectory = false;
        bool readOnly = false;
        bool locked = false;
        std::vector<std::string> children; // names, in enumeration order
        std::string contents;
    };
    class Enumeration;

    static std::string parentOf(const std::string& path);
    static std::string nameOf(const std::string& path);
    std::string storedSpelling(const std::string& path) const;
    void addNode(const std::string& path, Node node);
    void eraseNode(const std::string& path);
    bool fail(PlatformError error);

    std::map<std::string, Node> m_nodes;
    std::map<std::string, int> m_enumerationFailures;
    PlatformError m_lastError = PlatformError::None;
};
