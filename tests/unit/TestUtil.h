#pragma once
// Helpers shared by the unit tests: a scratch working directory and file I/O.

#include <string>

namespace testutil {

/// Creates a fresh directory under /tmp and makes it the working directory;
/// restores the old one and removes the directory when destroyed.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

/// Writes `bytes` to `path` (relative to the working directory), creating folders.
void writeFile(const std::string& path, const std::string& bytes);
/// The whole file, or an empty string when it cannot be read.
std::string readFile(const std::string& path);
/// True when the file exists.
bool fileExists(const std::string& path);

} // namespace testutil
