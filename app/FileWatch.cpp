#include "app/FileWatch.h"

#include "framework/PathUtil.h"

#include <sys/stat.h>

FileStamp fileStampOf(const std::string& path)
{
    // stat only: opening a FIFO put where the file was would wait for a writer.
    struct stat st {};
    if (path.empty() || stat(orv::nativePath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return FileStamp();
    FileStamp stamp;
    stamp.modified = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    stamp.size = static_cast<long long>(st.st_size);
    return stamp;
}

void FileWatch::watch(const std::string& path)
{
    if (path == path_)
        return;
    path_ = path;
    seen_ = fileStampOf(path_);
}

bool FileWatch::changed()
{
    if (path_.empty())
        return false;
    const FileStamp now = fileStampOf(path_);
    if (now == seen_)
        return false;
    seen_ = now;
    return true;
}

void FileWatch::rebase()
{
    seen_ = fileStampOf(path_);
}
