#include "framework/ContentFile.h"

#include "framework/Log.h"
#include "framework/PathUtil.h"

#include <sys/stat.h>

namespace orv {

std::string contentFileProblem(const std::string& path)
{
    struct stat st {};
    // stat follows links: a link to a regular file is one.
    if (path.empty() || ::stat(nativePath(path).c_str(), &st) != 0)
        return std::string();
    return S_ISREG(st.st_mode) ? std::string() : "not a regular file";
}

bool checkContentFile(const std::string& who, const std::string& path)
{
    const std::string problem = contentFileProblem(path);
    if (problem.empty())
        return true;
    Log::error(who + ": " + path + ": " + problem);
    return false;
}

} // namespace orv
