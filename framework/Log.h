#pragma once
// The one diagnostic channel: time-stamped lines (UTC) appended to a file in
// the working directory. info, warning and error also show the text on screen.
//
// The file is opened and closed for every line, so nothing is lost when the
// process dies, and a log that cannot be written is skipped silently.

#include <string>

namespace orv {
namespace Log {

/// Sets the log path (or derives it from the executable's name when `path` is
/// empty and none is set), deletes any file left there and enables logging.
void open(const std::string& path);
/// Appends "hh:mm:ss: message" to the file; no screen message.
void write(const std::string& message);
/// Screen message in white, then write().
void info(const std::string& message);
/// Screen message in the theme's warning colour, then "Warning: " + message.
void warning(const std::string& message);
/// Screen message in the theme's error colour, then "Error: " + message.
void error(const std::string& message);
/// Drops every later line; the file is left as it is.
void disable();
/// True between open() and disable().
bool isEnabled();
/// Back to the state before the first open(): disabled, no path (so the next
/// open("") names the log after the executable again).
void reset();

} // namespace Log
} // namespace orv
