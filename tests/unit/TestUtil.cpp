#include "TestUtil.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {
// Sounds play on OpenAL Soft's null output: real timing, no sound card, and
// never the user's own audio settings. Set before anything opens a device.
const int nullAudio = [] {
    setenv("ALSOFT_DRIVERS", "null", 1);
    setenv("ALSOFT_CONF", "/dev/null", 1);
    return 0;
}();
} // namespace

namespace testutil {

TempDir::TempDir()
{
    previous_ = fs::current_path().string();
    char pattern[] = "/tmp/tarnwick_test_XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    fs::current_path(path_);
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::current_path(previous_, ec);
    fs::remove_all(path_, ec);
}

void writeFile(const std::string& path, const std::string& bytes)
{
    const fs::path p(path);
    if (p.has_parent_path())
        fs::create_directories(p.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool fileExists(const std::string& path)
{
    return fs::exists(path);
}

} // namespace testutil

namespace testutil {

void makeFifo(const std::string& path)
{
    const fs::path p(path);
    if (p.has_parent_path())
        fs::create_directories(p.parent_path());
    if (::mkfifo(path.c_str(), 0644) != 0)
        throw std::runtime_error("mkfifo failed: " + path);
}

bool returnsWithin(const std::function<void()>& call, const std::string& fifo, double seconds)
{
    auto done = std::async(std::launch::async, call);
    if (done.wait_for(std::chrono::duration<double>(seconds)) == std::future_status::ready) {
        done.get();
        return true;
    }
    // Opening both ends never blocks, and lets an open of either end return.
    while (done.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
        const int fd = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    }
    done.get();
    return false;
}

} // namespace testutil
