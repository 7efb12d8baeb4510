#pragma once
// Message and confirmation boxes, drawn as modal windows in our own window.
// Enter or Y answers Yes (or OK), Escape or N answers No. Without a window the
// text goes to stderr and the log, and the box answers by itself.

#include <string>

namespace orv {

enum class MessageBoxButtons { Ok, YesNo };
enum class MessageBoxIcon { None, Error, Question };
enum class MessageBoxResult { Ok, Yes, No };

/// Shows the box and runs its own frames until it is answered. Every box is
/// also written to the log.
MessageBoxResult showMessageBox(const std::string& text, const std::string& caption, MessageBoxButtons buttons,
                                MessageBoxIcon icon);
/// True while a box is waiting for its answer.
bool isMessageBoxOpen();

} // namespace orv
