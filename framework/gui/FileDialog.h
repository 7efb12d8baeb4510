#pragma once
// The modal file dialog: one folder at a time, its sub-folders, "..", and the
// files of one extension (or several, separated by commas: "xm,ogg"). Runs its own frames until a file is picked or the
// dialog is cancelled.

#include <string>

namespace orv {

/// The picked file's path (the folder as given, joined with "\"), or an empty
/// string when the user cancelled.
std::string runFileDialog(const std::string& folder, const std::string& extension, const std::string& title);

/// The folder one level up from `folder` (which ends in a separator).
std::string parentFolder(const std::string& folder);

} // namespace orv
