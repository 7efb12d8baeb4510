#include "framework/DirectoryListing.h"

#include "framework/Log.h"
#include "framework/PathUtil.h"
#include "framework/StringUtil.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace orv {

namespace {

// Loops through symbolic links are caught by the visited set; this only
// bounds a real tree that is absurdly deep.
constexpr int maxDepth = 64;

// A folder's identity whatever the path it is reached by; false when it
// cannot be read.
bool folderIdentity(const std::string& dir, std::pair<dev_t, ino_t>& id)
{
    struct stat info;
    if (::stat(nativePath(dir).c_str(), &info) != 0)
        return false;
    id = {info.st_dev, info.st_ino};
    return true;
}

// Asked at every scan rather than kept from the first: the program never
// changes folder, but a process that does (the tests, each in a folder of
// its own) must not list the folder it started in.
std::string workingDirectory()
{
    std::error_code ec;
    std::string dir = fs::current_path(ec).string();
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    return dir;
}

} // namespace

std::string absolutePathForListing(const std::string& path)
{
    std::error_code ec;
    fs::path absolute = fs::absolute(fs::path(nativePath(path)), ec);
    if (ec)
        return std::string();
    std::string text = absolute.lexically_normal().string();
    for (char& c : text)
        if (c == '/')
            c = '\\';
    return text;
}

void DirectoryListing::addExtension(const std::string& ext)
{
    extensions.push_back(!ext.empty() && ext[0] == '.' ? ext : "." + ext);
}

void DirectoryListing::clear()
{
    entries_.clear();
    extensions.clear();
    path.clear();
    fullPath.clear();
    scanned = false;
}

void DirectoryListing::scan(const std::string& requested, std::int32_t scanMode, bool scanRecursive)
{
    entries_.clear();
    scanned = false;
    mode = scanMode;
    recursive = scanRecursive;

    path = requested;
    if (path.compare(0, 2, ".\\") == 0 || path.compare(0, 2, "./") == 0)
        path = workingDirectory() + path.substr(2);
    if (path.empty() || (path.back() != '\\' && path.back() != '/'))
        path += '\\';
    fullPath = absolutePathForListing(path);

    std::set<std::pair<dev_t, ino_t>> visited;
    listFolder(path, 0, visited);
    scanned = true;
}

bool DirectoryListing::passesFilter(const std::string& name) const
{
    if (extensions.empty())
        return true;
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos)
        return false;
    const std::string ext = name.substr(dot);
    for (const std::string& filter : extensions)
        if (equalsIgnoreCase(ext, filter))
            return true;
    return false;
}

void DirectoryListing::listFolder(const std::string& dir, int depth, std::set<std::pair<dev_t, ino_t>>& visited)
{
    // Symbolic links can lead back into a folder already listed (even into
    // itself): enter every folder once, by device and inode.
    std::pair<dev_t, ino_t> id;
    if (!folderIdentity(dir, id) || !visited.insert(id).second)
        return;

    struct Found {
        std::string name;
        bool isFolder;
        bool isFile;
        std::uint32_t size;
    };
    std::vector<Found> found;
    std::error_code ec;
    fs::directory_iterator it(fs::path(nativePath(dir)), ec);
    if (ec)
        return;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec)
            break;
        // Both follow symbolic links; a broken link is neither.
        std::error_code statEc;
        const bool isFolder = it->is_directory(statEc);
        const bool isFile = !isFolder && it->is_regular_file(statEc);
        std::uint32_t size = 0;
        if (isFile) {
            const std::uintmax_t bytes = it->file_size(statEc);
            size = statEc ? 0u : static_cast<std::uint32_t>(bytes);
        }
        found.push_back({it->path().filename().string(), isFolder, isFile, size});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.name < b.name; });

    for (const Found& f : found) {
        if (f.isFolder && !f.name.empty() && f.name[0] == '.')
            continue;
        bool wanted = false;
        if (f.isFolder) {
            wanted = mode == FilesAndFolders || mode == FoldersOnly;
        } else if ((mode == FilesAndFolders || mode == FilesOnly) && passesFilter(f.name)) {
            // A pipe, socket or device would block or mislead whoever opens
            // it as content. Only named when a filter asked for such a file.
            wanted = f.isFile;
            if (!f.isFile && !extensions.empty())
                Log::warning("DirectoryListing: Skipped " + dir + f.name + ": not a regular file");
        }
        if (wanted) {
            DirectoryEntry entry;
            entry.name = f.name;
            entry.path = dir + f.name;
            entry.isFolder = f.isFolder;
            entry.size = f.size;
            const std::string absolute = absolutePathForListing(entry.path);
            if (absolute.size() > fullPath.size() &&
                equalsIgnoreCase(absolute.substr(0, fullPath.size()), fullPath))
                entry.relativePath = absolute.substr(fullPath.size());
            entries_.push_back(std::move(entry));
        }
        if (!f.isFolder || !recursive)
            continue;
        if (depth >= maxDepth) {
            Log::warning("DirectoryListing: Skipped " + dir + f.name + ": more than " + std::to_string(maxDepth) +
                         " folders deep");
            continue;
        }
        listFolder(dir + f.name + "\\", depth + 1, visited);
    }
}

} // namespace orv
