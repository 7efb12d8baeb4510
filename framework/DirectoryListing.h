#pragma once
// Lists a content folder, keeping files whose extension is on the filter list.
// Entries of one folder come sorted by name (byte order), so every machine
// sees content in the same order whatever its file system enumerates first.

#include <sys/types.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace orv {

struct DirectoryEntry {
    std::string name;         ///< without folder
    std::string path;         ///< the enumerated folder (with separator) + name
    std::string relativePath; ///< from the scan root, sub-folders joined by "\"
    bool isFolder = false;
    std::uint32_t size = 0;
};

class DirectoryListing {
public:
    enum Mode : std::int32_t { FilesAndFolders = 0, FilesOnly = 1, FoldersOnly = 2 };

    /// Adds a filter; "png" and ".png" are the same filter. Compared ignoring case.
    void addExtension(const std::string& ext);
    /// Replaces the entries with a listing of `path`. A missing or unreadable
    /// folder gives an empty list. Only folders and regular files are listed;
    /// a recursive scan enters each folder once, however many links lead to it.
    void scan(const std::string& path, std::int32_t mode, bool recursive);
    /// Forgets entries, filters and paths.
    void clear();

    const std::vector<DirectoryEntry>& entries() const { return entries_; }

    bool scanned = false;
    std::string path;
    std::string fullPath;
    std::int32_t mode = FilesAndFolders;
    bool recursive = false;
    std::vector<std::string> extensions;

private:
    void listFolder(const std::string& dir, int depth, std::set<std::pair<dev_t, ino_t>>& visited);
    bool passesFilter(const std::string& name) const;

    std::vector<DirectoryEntry> entries_;
};

/// Absolute form of a path the way the listing compares them: "." and ".."
/// resolved, every separator written as "\". Empty when it cannot be made.
std::string absolutePathForListing(const std::string& path);

} // namespace orv
