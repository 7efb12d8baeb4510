#pragma once
// Notices that a file changed on disk: its modification time and size are
// remembered and compared on each look. Cheap enough to look once a second;
// a missing file (or anything but a regular file) counts as a stamp of its own.

#include <string>

/// What is compared: modification time (ns) and size; -1 for both when the
/// path is missing or not a regular file.
struct FileStamp {
    long long modified = -1;
    long long size = -1;
    bool operator==(const FileStamp& other) const { return modified == other.modified && size == other.size; }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

/// The stamp of `path` (a content path: "\\" or "/") now.
FileStamp fileStampOf(const std::string& path);

class FileWatch {
public:
    /// Watches `path` from its current stamp on; the same path again keeps
    /// the stamp last seen. An empty path watches nothing.
    void watch(const std::string& path);
    /// True once per change: the stamp differs from the one last seen, which
    /// becomes the one seen.
    bool changed();
    /// Takes the current stamp as seen (the program wrote the file itself).
    void rebase();
    const std::string& path() const { return path_; }

private:
    std::string path_;
    FileStamp seen_;
};
