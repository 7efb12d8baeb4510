#pragma once
// Stream buffer that the core puts behind the media library's error stream, so
// every complaint of the media library (missing file, shader compile error)
// lands in the log and on screen.

#include <cstddef>
#include <streambuf>

namespace orv {

class SFMLLogStream : public std::streambuf {
public:
    using LineHandler = void (*)(const char* chars, std::size_t length);

    SFMLLogStream();
    ~SFMLLogStream() override;
    SFMLLogStream(const SFMLLogStream&) = delete;
    SFMLLogStream& operator=(const SFMLLogStream&) = delete;

    /// Receives the buffered characters at every flush, at most 1024 at a time.
    LineHandler lineHandler = nullptr;

    static constexpr std::size_t bufferSize = 1024;

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    char* buffer_;
};

/// The process-wide stream buffer.
SFMLLogStream& sfmlLogStream();

/// Splits a media-library message into lines and logs each: lines ending in
/// "not found in shader" are file-only warnings, everything else an error.
void sfmlLineHandler(const char* chars, std::size_t length);

} // namespace orv
