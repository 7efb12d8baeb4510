#pragma once
// Reader of small binary files that start with a 32-byte id and a version.
// All integers are signed 32-bit little-endian.

#include <cstdint>
#include <cstdio>
#include <string>

namespace orv {

class BinaryFile {
public:
    static constexpr int headerIdSize = 32;
    static constexpr int currentVersion = 1;
    static constexpr std::int32_t maxStringLength = 4096;

    BinaryFile() = default;
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    /// Closes any open file and opens `path` for binary reading.
    bool openRead(const std::string& path);
    /// Checks the id (exact, case-sensitive) and that the version is 1.
    bool readHeader(const std::string& expectedId);
    /// Reads one integer; false (and `value` 0) past the end of the file.
    bool readInt32(std::int32_t& value);
    /// Length-prefixed text (0 to 4096 bytes). Bad lengths are logged and give
    /// an empty string without skipping the text's bytes.
    std::string readOldStdString();
    /// Bytes left between the read position and the end of the file.
    long remaining() const;
    void close();
    bool isOpen() const { return file_ != nullptr; }

    bool openForReading = false;
    bool openForWriting = false;
    std::string lastError;
    std::int32_t version = -1;
    std::string fileName;

private:
    std::FILE* file_ = nullptr;
    long size_ = 0;
};

} // namespace orv
