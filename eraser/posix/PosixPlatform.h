#pragma once

#include <string>
#include <vector>

#include "RemovalPlatform.h"

class PosixMessageBox;
class X11WindowFinder;

// The removal's platform on Linux and other POSIX systems. A file is read-only when its
// owner may not write it. Links are never followed: a link is deleted like a file. A
// file scheduled for deletion "at restart" is deleted when this object goes, at the end
// of the program, since a running program may delete its own file here.
class PosixPlatform : public RemovalPlatform {
public:
    PosixPlatform(PosixMessageBox& messages, const X11WindowFinder& windows);
    ~PosixPlatform() override;
    PosixPlatform(const PosixPlatform&) = delete;
    PosixPlatform& operator=(const PosixPlatform&) = delete;

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
    class Enumeration;

    bool failWithErrno();

    PosixMessageBox& m_messages;
    const X11WindowFinder& m_windows;
    PlatformError m_lastError = PlatformError::None;
    std::vector<std::string> m_deleteAtExit;
};
