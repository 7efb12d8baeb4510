#include "framework/SFMLLogStream.h"

#include "framework/Log.h"
#include "framework/StringUtil.h"

#include <string>

namespace orv {

SFMLLogStream::SFMLLogStream()
    : buffer_(new char[bufferSize])
{
    setp(buffer_, buffer_ + bufferSize);
}

SFMLLogStream::~SFMLLogStream()
{
    sync();
    delete[] buffer_;
    lineHandler = nullptr;
}

SFMLLogStream::int_type SFMLLogStream::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return sync();
    if (pptr() < epptr()) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
        return c;
    }
    sync();
    return overflow(c);
}

int SFMLLogStream::sync()
{
    const std::ptrdiff_t count = pptr() - pbase();
    if (count == 0)
        return 0;
    if (lineHandler)
        lineHandler(pbase(), static_cast<std::size_t>(count));
    setp(buffer_, buffer_ + bufferSize);
    return 0;
}

SFMLLogStream& sfmlLogStream()
{
    static SFMLLogStream stream;
    return stream;
}

void sfmlLineHandler(const char* chars, std::size_t length)
{
    static const std::string shaderTail = "not found in shader";
    // Empty lines (and the line break that ends each message) log nothing.
    for (const std::string& line : splitString(std::string(chars, length), '\n', false)) {
        if (line.empty())
            continue;
        // An unused uniform is routine for the media library to mention;
        // keep it out of the user's face.
        if (line.size() > shaderTail.size() &&
            line.compare(line.size() - shaderTail.size(), shaderTail.size(), shaderTail) == 0)
            Log::write("Warning: SFML: " + line);
        else
            Log::error("SFML: " + line);
    }
}

} // namespace orv
