#pragma once
// Which tracker format a file's header names. Game data often carries modules
// under the wrong extension (an XM named ".mod" is common), so when the
// loader the extension picks fails, the header gets the final say.

#include <string>

namespace orv {

/// ".xm", ".s3m", ".it" or ".mod" by the file's header, or "" when none
/// matches (or the file cannot be read, or is not a regular file).
std::string moduleFormatFromHeader(const std::string& path);
/// The same for the first bytes of a file (at least 1084 for MOD).
std::string moduleFormatFromBytes(const std::string& bytes);

} // namespace orv
