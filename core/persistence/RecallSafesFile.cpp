#include "core/persistence/RecallSafesFile.h"

#include "core/model/Text.h"
#include "core/persistence/AtomicFileWriter.h"
#include "core/persistence/ByteSource.h"
#include "core/persistence/NativePath.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace deskpanel::RecallSafesFile {

namespace {

constexpr std::array<const char*, SafeFlagCount> FlagWords{"gain", "48v", "pad", "polarity", "mute"};

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// "Channel<n>" with n 1..384 written plainly; the channel index, or -1.
int channelOfKey(std::string_view key)
{
    constexpr std::string_view Prefix = "Channel";
    if (key.size() <= Prefix.size() || !equalsIgnoringCase(key.substr(0, Prefix.size()), Prefix))
        return -1;
    const std::string_view digits = key.substr(Prefix.size());
    if (digits.size() > 3 || digits.front() == '0')
        return -1;
    int number = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return -1;
        number = number * 10 + (c - '0');
    }
    return number >= 1 && number <= MaxChannels ? number - 1 : -1;
}

// The flags of a value, or -1 when an item is empty or unknown.
int flagsOfValue(std::string_view value)
{
    SafeFlags flags = 0;
    if (trimmed(value).empty())
        return 0;
    for (;;) {
        const std::size_t comma = value.find(',');
        const std::string_view item = trimmed(value.substr(0, comma));
        bool known = false;
        for (std::size_t i = 0; i < FlagWords.size(); ++i)
            if (equalsIgnoringCase(item, FlagWords[i])) {
                flags |= static_cast<SafeFlags>(SafeFlagOrder[i]);
                known = true;
            }
        if (!known)
            return -1;
        if (comma == std::string_view::npos)
            return flags;
        value.remove_prefix(comma + 1);
    }
}

} // namespace

std::string pathFor(const std::string& projectPath)
{
    return projectPath + Suffix;
}

std::string encode(const RecallSafes& safes)
{
    std::string text = std::string("[") + Section + "]\n";
    for (int c = 0; c < MaxChannels; ++c) {
        const SafeFlags flags = safes.flags(c);
        if (flags == 0)
            continue;
        std::string words;
        for (std::size_t i = 0; i < SafeFlagOrder.size(); ++i)
            if (hasFlag(flags, SafeFlagOrder[i]))
                words += (words.empty() ? "" : ",") + std::string(FlagWords[i]);
        text += format("Channel%d=%s\n", globalChannelNumber(c), words.c_str());
    }
    return text;
}

Decoded decode(std::string_view text)
{
    Decoded decoded;
    std::array<bool, MaxChannels> seen{};
    enum class Where {
        BeforeAnySection,
        Ours,
        Other
    } where = Where::BeforeAnySection;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        const auto damaged = [&] { decoded.damagedLines.push_back(lineNumber); };
        if (line.front() == '[') {
            if (line.back() != ']') {
                damaged();
                where = Where::Other; // nothing until the next good header is ours
                continue;
            }
            where = equalsIgnoringCase(trimmed(line.substr(1, line.size() - 2)), Section) ? Where::Ours : Where::Other;
            continue;
        }
        if (where == Where::Other)
            continue;
        const std::size_t equals = line.find('=');
        const int channel = equals == std::string_view::npos ? -1 : channelOfKey(trimmed(line.substr(0, equals)));
        const int flags = channel < 0 ? -1 : flagsOfValue(line.substr(equals + 1));
        if (where != Where::Ours || flags < 0 || seen[static_cast<std::size_t>(channel)]) {
            damaged();
            continue;
        }
        seen[static_cast<std::size_t>(channel)] = true;
        decoded.safes.set(channel, static_cast<SafeFlags>(flags));
    }
    return decoded;
}

ReadResult read(const std::string& sidecarPath)
{
    ReadResult result;
    FileSource source(sidecarPath);
    if (!source.isOpen()) {
        // Only a file that is not there means no safes.
        if (source.openError() != ENOENT)
            result.failure = std::strerror(source.openError());
        return result;
    }
    std::string text(MaxBytes + 1, '\0');
    const std::size_t got = source.read(reinterpret_cast<std::uint8_t*>(text.data()), text.size());
    if (source.readError() != 0) {
        result.failure = std::strerror(source.readError());
        return result;
    }
    if (got > MaxBytes) {
        result.tooLarge = true;
        return result;
    }
    if (got < source.sizeAtOpen()) {
        result.failure = format("the read stopped after %llu of %llu bytes", static_cast<unsigned long long>(got),
                                static_cast<unsigned long long>(source.sizeAtOpen()));
        return result;
    }
    text.resize(got);
    result.decoded = decode(text);
    return result;
}

std::string failureMessage(const std::string& sidecarPath, const ReadResult& result)
{
    if (result.failure.empty())
        return {};
    return format("The recall safes file %s could not be read (%s). Until the recall safes are set again, every "
                  "recall from the desk shows its preview, remote recalls are refused, and the file is left as it is.",
                  sidecarPath.c_str(), result.failure.c_str());
}

std::string damageMessage(const std::string& sidecarPath, const ReadResult& result)
{
    if (result.tooLarge)
        return format("The recall safes file %s is too large and was not read.", sidecarPath.c_str());
    const std::vector<int>& lines = result.decoded.damagedLines;
    if (lines.empty())
        return {};
    if (lines.size() == 1)
        return format("The recall safes file %s is damaged: line %d was ignored.", sidecarPath.c_str(), lines.front());
    std::string numbers;
    constexpr std::size_t Listed = 10;
    for (std::size_t i = 0; i < lines.size() && i < Listed; ++i)
        numbers += (i == 0 ? "" : ", ") + std::to_string(lines[i]);
    if (lines.size() > Listed)
        numbers += format(" and %d more", static_cast<int>(lines.size() - Listed));
    return format("The recall safes file %s is damaged: lines %s were ignored.", sidecarPath.c_str(), numbers.c_str());
}

bool write(const std::string& sidecarPath, const RecallSafes& safes)
{
    if (safes.empty()) {
        // Only a file is removed: whatever else stands under the name is not ours.
        std::error_code error;
        const auto status = std::filesystem::symlink_status(nativePath(sidecarPath), error);
        if (status.type() == std::filesystem::file_type::not_found)
            return true;
        if (error || std::filesystem::is_directory(status))
            return false;
        return std::filesystem::remove(nativePath(sidecarPath), error) && !error;
    }
    const std::string text = encode(safes);
    AtomicFileWriter writer(sidecarPath);
    return writer.open() && writer.write(text.data(), text.size()) && writer.commit();
}

} // namespace deskpanel::RecallSafesFile
