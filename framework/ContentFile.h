#pragma once
// The one test every loader makes before it opens a content file: only a
// regular file may be opened. A folder makes the media library size its read
// buffer from a seek that fails (std::bad_alloc), and opening a FIFO waits
// for a writer that never comes.

#include <string>

namespace orv {

/// "not a regular file" when a folder, FIFO, device or socket sits at the
/// path; empty for a regular file and for nothing at all (a missing file is
/// its loader's to report). Looks at the status only, never opens the path.
std::string contentFileProblem(const std::string& path);

/// True when a loader may open the path; otherwise logs the error
/// "<who>: <path>: not a regular file" and returns false.
bool checkContentFile(const std::string& who, const std::string& path);

} // namespace orv
