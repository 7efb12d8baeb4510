#pragma once
// Small sound-making helpers for the content tool: signals are float vectors
// at 44,100 Hz; filters, seamless loops and levels work on them in place.

#include "Noise.h"

#include <cstdint>
#include <vector>

namespace content {

constexpr unsigned sampleRate = 44100;
using Signal = std::vector<float>;

/// One-pole low-pass at `cutoff` Hz.
void lowPass(Signal& s, float cutoff);
/// One-pole high-pass at `cutoff` Hz.
void highPass(Signal& s, float cutoff);
/// White noise in [-1, 1).
Signal noise(std::size_t frames, Rng& rng);
/// Makes a loop of `frames` from a signal at least `frames` + `fade` long: its
/// tail is crossfaded into its head, so the end runs on into the start.
Signal loopOf(const Signal& s, std::size_t frames, std::size_t fade);
/// Scales to `rmsDb` dBFS RMS, then lowers it further if a peak would pass
/// `peakDb` dBFS. Stereo signals are interleaved; levels count both sides.
void setLevel(Signal& s, float rmsDb, float peakDb = -3.0f);
/// 16-bit samples, clipped.
std::vector<std::int16_t> toPcm(const Signal& s);
/// Two mono signals as one interleaved stereo signal.
Signal interleave(const Signal& left, const Signal& right);
/// A chirp of `frames` starting at `from` Hz and ending at `to` Hz with a
/// smooth envelope, added into `s` at `start` with gain `gain`.
void addChirp(Signal& s, std::size_t start, std::size_t frames, float from, float to, float gain);

} // namespace content
