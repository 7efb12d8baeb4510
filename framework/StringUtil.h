#pragma once
// Text helpers shared by every file reader: the number conversions all
// getters use, list splitting, case folding and the two name hashes.

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

/// Leading decimal integer (strtol rules); 0 for empty, non-numeric or
/// out-of-range text. Never reports an error.
int toInt(const std::string& text);

/// Leading float (strtof rules); 0 for empty, non-numeric, out-of-range or
/// non-finite text (nan and inf never get into the program this way).
float toFloat(const std::string& text);

/// Splits at every `delimiter`. Empty text gives no parts, a trailing
/// delimiter adds no empty last part, two in a row give an empty part.
/// With `removeSpaces` every isspace character is dropped from each part.
std::vector<std::string> splitString(const std::string& text, char delimiter, bool removeSpaces);

/// Byte-wise tolower.
std::string toLower(const std::string& text);

/// Case-insensitive comparison of two byte strings.
bool equalsIgnoreCase(const std::string& a, const std::string& b);

/// True when `text` ends with `suffix`, compared ignoring case.
bool endsWithIgnoreCase(const std::string& text, const std::string& suffix);

/// 32-bit FNV-1a of the bytes (basis 2166136261, prime 16777619).
std::uint32_t fnv1a(const std::string& text);

/// The framework's case-insensitive name identity: h = h * 65599 + tolower(c).
std::uint32_t nameHash(const std::string& text);

/// printf-style formatting into a std::string.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

/// Hash functor for unordered maps keyed by already lower-cased names.
struct Fnv1aHash {
    std::size_t operator()(const std::string& s) const { return fnv1a(s); }
};

} // namespace orv
