#include "core/persistence/SystemErrorText.h"

#include <cstring>

#ifdef _WIN32
#include "core/persistence/WideText.h"
#endif

namespace deskpanel {

std::string systemErrorText(int error)
{
    std::string text;
#ifdef _WIN32
    wchar_t* buffer = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (n > 0 && buffer)
        text = narrowToUtf8(std::wstring(buffer, n));
    LocalFree(buffer);
#else
    text = std::strerror(error);
#endif
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    if (text.empty())
        text = "error " + std::to_string(error);
    return text;
}

} // namespace deskpanel
