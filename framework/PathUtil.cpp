#include "framework/PathUtil.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace orv {

std::string nativePath(const std::string& path)
{
    std::string out = path;
    for (char& c : out)
        if (c == '\\')
            c = '/';
    return out;
}

std::string joinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/')
        return folder + name;
    return folder + "\\" + name;
}

std::string fileNamePart(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

static std::size_t extensionDot(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string::npos;
    return dot;
}

std::string removeExtension(const std::string& path)
{
    const std::size_t dot = extensionDot(path);
    return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string replaceExtension(const std::string& path, const std::string& ext)
{
    return removeExtension(path) + ext;
}

bool pathExists(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::exists(fs::path(nativePath(path)), ec);
}

bool isRegularFile(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(fs::path(nativePath(path)), ec);
}

bool deleteFile(const std::string& path)
{
    std::error_code ec;
    return fs::remove(fs::path(nativePath(path)), ec);
}

} // namespace orv
