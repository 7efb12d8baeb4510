#pragma once
// Writes four-channel ProTracker modules ("M.K.", 31 samples): the audio
// panel's second module format.

#include <cstdint>
#include <string>
#include <vector>

namespace mod {

struct Sample {
    std::string name;
    std::vector<std::int8_t> data; ///< even length; 8-bit signed
    std::uint32_t loopStart = 0;   ///< in samples, even
    std::uint32_t loopLength = 0;  ///< in samples, even; 0: no loop
    std::uint8_t volume = 64;      ///< 0 to 64
};

struct Note {
    int note = 0;        ///< semitones from C-1 (0), -1 nothing
    int sample = 0;      ///< 1-based, 0 nothing
    std::uint8_t effect = 0;
    std::uint8_t param = 0;
};

struct Pattern {
    Note cells[64][4]; ///< row, channel
    Pattern()
    {
        for (auto& row : cells)
            for (Note& n : row)
                n.note = -1;
    }
};

struct Module {
    std::string title;
    std::vector<std::uint8_t> order;
    std::vector<Pattern> patterns;
    std::vector<Sample> samples; ///< at most 31
};

/// The file's bytes.
std::vector<std::uint8_t> write(const Module& module);

} // namespace mod
