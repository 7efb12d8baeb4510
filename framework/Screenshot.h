#pragma once
// Saves the window's picture as a PNG in the working directory. display()
// takes it after everything of the frame is drawn and before it is shown.

#include <ctime>
#include <functional>
#include <string>

namespace orv {

/// File name of the next screenshot; empty picks "screenshot_<UTC>.png".
extern std::string screenshotName;
/// Set to take a screenshot at the next display().
extern bool screenshotPending;

/// Takes the screenshot now (display() calls it when one is pending).
void takeScreenshot();

/// The automatic name for a UTC time: the plain name, else the first free
/// "_01", "_02" ... name up to 9999; empty when all are taken.
std::string automaticScreenshotName(const std::tm& utc, const std::function<bool(const std::string&)>& exists);

} // namespace orv
