#pragma once

#include <string>

// A fresh folder under the system's temporary folder, deleted with all its contents
// when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& relative) const { return m_path + "/" + relative; }

    // Test helpers for building trees.
    static void writeFile(const std::string& path, const std::string& content, bool readOnly = false);
    static bool exists(const std::string& path);

private:
    std::string m_path;
};
