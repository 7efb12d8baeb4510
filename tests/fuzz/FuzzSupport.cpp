#include "FuzzSupport.h"

#include "framework/AppInfo.h"
#include "framework/Log.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fuzz {

void enterScratchDir()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    char pattern[] = "/tmp/tarnwick_fuzz_XXXXXX";
    if (!::mkdtemp(pattern) || ::chdir(pattern) != 0)
        fail("cannot make a scratch folder");
    // A scratch folder per process; libFuzzer's workers each get their own.
    std::atexit([] {
        std::error_code ec;
        const std::filesystem::path here = std::filesystem::current_path(ec);
        if (!ec && here.string().rfind("/tmp/tarnwick_fuzz_", 0) == 0) {
            std::filesystem::current_path("/tmp", ec);
            std::filesystem::remove_all(here, ec);
        }
    });
}

void writeInput(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    const std::filesystem::path p(path);
    if (p.has_parent_path())
        std::filesystem::create_directories(p.parent_path());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        fail("cannot write " + path);
    if (size && std::fwrite(data, 1, size, f) != size)
        fail("cannot write " + path);
    std::fclose(f);
}

void writeText(const std::string& path, const std::string& text)
{
    writeInput(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

void restartLog()
{
    orv::appInfo.logPath.clear();
    orv::Log::open("fuzz.log");
}

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void fail(const std::string& what)
{
    std::fprintf(stderr, "FUZZ CHECK FAILED: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

} // namespace fuzz
