#include "framework/StringUtil.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace orv {

int toInt(const std::string& text)
{
    if (text.empty())
        return 0;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return 0;
    return static_cast<int>(value);
}

float toFloat(const std::string& text)
{
    if (text.empty())
        return 0.0f;
    errno = 0;
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    if (end == text.c_str() || errno == ERANGE || !std::isfinite(value))
        return 0.0f;
    return value;
}

std::vector<std::string> splitString(const std::string& text, char delimiter, bool removeSpaces)
{
    std::vector<std::string> parts;
    if (text.empty())
        return parts;
    std::string part;
    for (char c : text) {
        if (c == delimiter) {
            parts.push_back(part);
            part.clear();
        } else if (!(removeSpaces && std::isspace(static_cast<unsigned char>(c)))) {
            part += c;
        }
    }
    // A trailing delimiter ends the list: no empty last part.
    if (text.back() != delimiter)
        parts.push_back(part);
    return parts;
}

std::string toLower(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool equalsIgnoreCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool endsWithIgnoreCase(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && equalsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

std::uint32_t fnv1a(const std::string& text)
{
    std::uint32_t h = 2166136261u;
    for (unsigned char c : text) {
        h ^= c;
        h *= 16777619u;
    }
    return h;
}

std::uint32_t nameHash(const std::string& text)
{
    std::uint32_t h = 0;
    for (unsigned char c : text)
        h = h * 65599u + static_cast<std::uint32_t>(std::tolower(c));
    return h;
}

std::string format(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::string out;
    if (size > 0) {
        out.resize(static_cast<std::size_t>(size) + 1);
        std::vsnprintf(&out[0], out.size(), fmt, args);
        out.resize(static_cast<std::size_t>(size));
    }
    va_end(args);
    return out;
}

} // namespace orv
