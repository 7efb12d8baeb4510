#include "framework/BinaryFile.h"

#include "framework/ContentFile.h"
#include "framework/Log.h"
#include "framework/PathUtil.h"

#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace orv {

BinaryFile::~BinaryFile()
{
    close();
}

bool BinaryFile::openRead(const std::string& path)
{
    close();
    fileName = path;
    if (checkContentFile("BinaryFile::openRead", path))
        file_ = std::fopen(nativePath(path).c_str(), "rb");
    if (!file_) {
        lastError = "Unable to open " + path;
        return false;
    }
    std::fseek(file_, 0, SEEK_END);
    size_ = std::ftell(file_);
    std::fseek(file_, 0, SEEK_SET);
    openForReading = true;
    return true;
}

void BinaryFile::close()
{
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
    size_ = 0;
    openForReading = false;
    openForWriting = false;
}

long BinaryFile::remaining() const
{
    if (!file_)
        return 0;
    const long pos = std::ftell(file_);
    return pos < 0 || pos > size_ ? 0 : size_ - pos;
}

bool BinaryFile::readInt32(std::int32_t& value)
{
    value = 0;
    unsigned char bytes[4];
    if (!file_ || std::fread(bytes, 1, 4, file_) != 4)
        return false;
    const std::uint32_t u = static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
                            (static_cast<std::uint32_t>(bytes[2]) << 16) |
                            (static_cast<std::uint32_t>(bytes[3]) << 24);
    std::memcpy(&value, &u, sizeof value);
    return true;
}

bool BinaryFile::readHeader(const std::string& expectedId)
{
    char id[headerIdSize + 1] = {};
    if (!file_ || std::fread(id, 1, headerIdSize, file_) != static_cast<std::size_t>(headerIdSize) ||
        expectedId != id) {
        lastError = fileName + " is an invalid file";
        return false;
    }
    std::int32_t fileVersion = 0;
    readInt32(fileVersion);
    if (fileVersion < currentVersion) {
        lastError = fileName + " is an obselete file version";
        return false;
    }
    if (fileVersion > currentVersion) {
        lastError = fileName + " is an advanced file version (expected " + std::to_string(currentVersion) +
                    " got " + std::to_string(fileVersion) + ")";
        return false;
    }
    version = fileVersion;
    return true;
}

std::string BinaryFile::readOldStdString()
{
    std::int32_t length = 0;
    if (!readInt32(length) || length == 0)
        return std::string();
    if (length < 0) {
        Log::error("BinaryFile::readOldStdString: string length " + std::to_string(length) + " is invalid");
        return std::string();
    }
    if (length > maxStringLength) {
        Log::error("BinaryFile::readOldStdString: string length " + std::to_string(length) + " is too long");
        return std::string();
    }
    std::vector<char> text(static_cast<std::size_t>(length));
    const std::size_t got = std::fread(text.data(), 1, text.size(), file_);
    if (got != text.size()) {
        Log::error("BinaryFile::readOldStdString: " + fileName + " ends inside a string of length " +
                   std::to_string(length));
        return std::string();
    }
    return std::string(text.data(), text.size());
}

} // namespace orv
