#include "framework/DirectoryListing.h"

#include "framework/PathUtil.h"
#include "framework/StringUtil.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace orv {

namespace {

// Symbolic links can make a folder its own descendant; a content tree is never
// this deep, so stop there instead of following a loop forever.
constexpr int maxDepth = 64;

const std::string& workingDirectory()
{
    static const std::string cwd = [] {
        std::error_code ec;
        std::string dir = fs::current_path(ec).string();
        if (!dir.empty() && dir.back() != '/')
            dir += '/';
        return dir;
    }();
    return cwd;
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

    listFolder(path, 0);
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

void DirectoryListing::listFolder(const std::string& dir, int depth)
{
    struct Found {
        std::string name;
        bool isFolder;
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
        std::error_code statEc;
        const bool isFolder = it->is_directory(statEc);
        std::uint32_t size = 0;
        if (!isFolder) {
            const std::uintmax_t bytes = it->file_size(statEc);
            size = statEc ? 0u : static_cast<std::uint32_t>(bytes);
        }
        found.push_back({it->path().filename().string(), isFolder, size});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.name < b.name; });

    for (const Found& f : found) {
        if (f.isFolder && !f.name.empty() && f.name[0] == '.')
            continue;
        const bool wanted = f.isFolder ? (mode == FilesAndFolders || mode == FoldersOnly)
                                       : (mode == FilesAndFolders || mode == FilesOnly) && passesFilter(f.name);
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
        if (f.isFolder && recursive && depth < maxDepth)
            listFolder(dir + f.name + "\\", depth + 1);
    }
}

} // namespace orv
