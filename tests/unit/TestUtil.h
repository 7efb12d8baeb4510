#pragma once
// Helpers shared by the unit tests: a scratch working directory, file I/O and
// a log to read back.

#include "framework/FrameworkState.h"
#include "framework/Log.h"

#include <gtest/gtest.h>

#include <functional>
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
/// Makes a FIFO at `path` (relative to the working directory), creating folders.
void makeFifo(const std::string& path);
/// True when `call` returns within `seconds`. A call stuck opening the FIFO
/// at `fifo` is then let go by opening its other end, so that a regression
/// fails the test instead of hanging it.
bool returnsWithin(const std::function<void()>& call, const std::string& fifo, double seconds = 3.0);

/// Passes when `text` holds `part`; a failure shows both.
inline ::testing::AssertionResult has(const std::string& text, const std::string& part)
{
    if (text.find(part) != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no \"" << part << "\" in:\n" << text;
}

/// How often `part` occurs in `text`.
inline std::size_t occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

/// A scratch working directory with the log open in it as "test.log", and
/// the framework's state as a fresh process has it.
class LoggedTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        orv::resetFrameworkState();
        orv::Log::reset();
        orv::Log::open("test.log");
    }
    void TearDown() override { orv::Log::disable(); }
    /// The log so far.
    std::string log() const { return readFile("test.log"); }
    /// Passes when the log holds `part`.
    ::testing::AssertionResult logged(const std::string& part) const { return has(log(), part); }

    TempDir dir;
};

} // namespace testutil
