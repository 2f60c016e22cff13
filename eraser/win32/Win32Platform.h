#pragma once

#include <string>

#include "RemovalPlatform.h"

// The removal's platform on Windows: the ANSI file functions with MAX_PATH buffers,
// plain message boxes without an owner, and the window look-up by title.
class Win32Platform : public RemovalPlatform {
public:
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
};
