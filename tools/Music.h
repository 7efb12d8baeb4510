#pragma once
// The music of "Data/Music/": magic.xm (the tune started at launch, over a
// minute before it repeats), a ProTracker module and an Ogg piece for the
// audio panel's Load.

#include <filesystem>

namespace xm {
struct Module;
}

namespace content {

/// The launch tune as a module (the tests render it).
xm::Module magicTune();
/// Writes every piece of music; false when one cannot be written.
bool makeMusic(const std::filesystem::path& root);

} // namespace content
