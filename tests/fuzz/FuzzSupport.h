#pragma once
// What every fuzz target shares: a private scratch working directory, the
// input written to a file there (the loaders read files by name), a log that
// starts empty for every input, and a check that stops the run with a
// message libFuzzer keeps beside the crashing input.

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

/// Makes a fresh folder under /tmp the working directory, once per process.
void enterScratchDir();
/// Writes `size` bytes to `path` (relative), creating its folders.
void writeInput(const std::string& path, const std::uint8_t* data, std::size_t size);
/// Writes text to `path` (relative), creating its folders.
void writeText(const std::string& path, const std::string& text);
/// Deletes the log and starts a new one ("fuzz.log").
void restartLog();
/// The whole of a file, or "" when it cannot be read.
std::string readText(const std::string& path);
/// Prints `what` and aborts: libFuzzer records the input as a crash.
[[noreturn]] void fail(const std::string& what);

} // namespace fuzz

#define FUZZ_CHECK(cond, what)                                                                                   \
    do {                                                                                                         \
        if (!(cond))                                                                                             \
            ::fuzz::fail(std::string(#cond) + ": " + (what));                                                    \
    } while (0)
