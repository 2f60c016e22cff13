#include "core/persistence/NativePath.h"

#include "core/persistence/WideText.h"

namespace deskpanel {

std::filesystem::path nativePath(const std::string& utf8)
{
#ifdef _WIN32
    return std::filesystem::path(widenUtf8(utf8));
#else
    return std::filesystem::path(utf8);
#endif
}

std::string utf8FromPath(const std::filesystem::path& path)
{
#ifdef _WIN32
    return narrowToUtf8(path.native());
#else
    return path.native();
#endif
}

} // namespace deskpanel
