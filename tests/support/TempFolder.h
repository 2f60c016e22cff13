#pragma once
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace deskpanel::test {

// A fresh folder under the system's temporary folder, removed with everything in it
// when the object goes.
class TempFolder {
public:
    TempFolder()
    {
#ifdef _WIN32
        // No mkdtemp: a random name is tried until a new folder results.
        std::random_device random;
        for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
            const auto folder = std::filesystem::temp_directory_path() / ("deskpanel-" + std::to_string(random()));
            std::error_code error;
            if (std::filesystem::create_directory(folder, error))
                m_path = folder.generic_string();
        }
#else
        std::string pattern = (std::filesystem::temp_directory_path() / "deskpanel-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            m_path = pattern;
#endif
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const
    {
        return m_path;
    }
    std::string file(const std::string& name) const
    {
        return m_path + "/" + name;
    }
    // Names of the entries of the folder, sorted.
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(m_path))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string m_path;
};

// Paths are UTF-8 in the program and in the tests; on Windows a plain string would be
// taken in the ANSI code page instead.
inline std::filesystem::path utf8Path(const std::string& path)
{
    return std::filesystem::u8path(path);
}

inline std::vector<std::uint8_t> readBytes(const std::string& path)
{
    std::ifstream in(utf8Path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(utf8Path(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void writeText(const std::string& path, const std::string& text)
{
    std::ofstream out(utf8Path(path), std::ios::binary | std::ios::trunc);
    out << text;
}

inline std::string readText(const std::string& path)
{
    std::ifstream in(utf8Path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace deskpanel::test
