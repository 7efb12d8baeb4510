#pragma once
// Writes FastTracker 2 extended modules (XM, version 0x0104): enough of the
// format for the program's own music and the tests' small modules.

#include <cstdint>
#include <string>
#include <vector>

namespace xm {

struct Sample {
    std::vector<std::int8_t> data; ///< 8-bit signed
    std::uint32_t loopStart = 0;
    std::uint32_t loopLength = 0; ///< 0: no loop
    std::uint8_t volume = 64;      ///< 0 to 64
    std::int8_t relativeNote = 0;  ///< semitones from C-4 at 8363 Hz
    std::uint8_t panning = 128;
};

struct Note {
    std::uint8_t note = 0;       ///< 1 (C-0) to 96, 97 key off, 0 nothing
    std::uint8_t instrument = 0; ///< 1-based, 0 nothing
    std::uint8_t volume = 0;     ///< volume column (0x10 + 0..64), 0 nothing
    std::uint8_t effect = 0;
    std::uint8_t param = 0;
};

struct Pattern {
    int rows = 64;
    std::vector<Note> cells; ///< rows x channels, row by row
};

struct Module {
    std::string name;
    int channels = 4;
    int tempo = 6; ///< ticks per row
    int bpm = 125;
    std::vector<std::uint8_t> order;
    std::vector<Pattern> patterns;
    std::vector<Sample> instruments; ///< one sample per instrument
};

/// The file's bytes.
std::vector<std::uint8_t> write(const Module& module);
/// Writes the module to a file; false when it cannot be written.
bool save(const Module& module, const std::string& path);

/// A note number from a name such as "C-4" or "F#3".
std::uint8_t noteNumber(const char* name);

/// A looping one-period sample of a waveform ("sine", "square", "saw",
/// "triangle"); `period` samples long, plays that wave at 8363 / period Hz on C-4.
Sample waveSample(const std::string& shape, int period, std::uint8_t volume);

/// A small test module: `channels` channels playing looped tones for about
/// `seconds` seconds (then it loops).
Module testModule(int channels, int seconds);

} // namespace xm
