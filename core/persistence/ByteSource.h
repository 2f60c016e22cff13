#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace deskpanel {

// Where the project file reader takes its bytes from.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to `size` bytes; fewer only at the end of the data or on an error.
    virtual std::size_t read(std::uint8_t* into, std::size_t size) = 0;
    // Back to the first byte; false when that is impossible.
    virtual bool rewind() = 0;
};

class MemorySource : public ByteSource {
public:
    MemorySource(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::size_t read(std::uint8_t* into, std::size_t size) override;
    bool rewind() override
    {
        m_offset = 0;
        return true;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_offset = 0;
};

// A file opened for reading; closed with the object.
class FileSource : public ByteSource {
public:
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    std::size_t read(std::uint8_t* into, std::size_t size) override;
    bool rewind() override;
    // Why the file is not open (an errno value; ENOENT: there is no such file), and why
    // the last read stopped early (0: it did not, or only at the end of the file).
    int openError() const { return m_openError; }
    int readError() const { return m_readError; }
    // The file's size when it was opened.
    std::uint64_t sizeAtOpen() const { return m_size; }

private:
    int m_fd = -1;
    int m_openError = 0;
    int m_readError = 0;
    std::uint64_t m_size = 0;
};

} // namespace deskpanel
