#pragma once
// Sound and module files say how long their sample data is, and the decoders
// allocate what they say before reading it: a 1 KiB file claiming 4 GiB gets
// 4 GiB. These checks hold the claims against the file's real size first.
// Each returns an empty string when the claims fit (or when the file is not
// of the format at all, which the decoder then refuses by itself), otherwise
// the problem in words, for a log line. Anything but a regular file is a
// problem before any claim is read: opening a FIFO would wait for ever.

#include <string>

namespace orv {

/// RIFF WAVE: every chunk up to and including "data" fits in the file, and
/// the format's channels and rate are within reason.
std::string waveSizeProblem(const std::string& path);

/// Tracker modules by extension (".xm", ".s3m", ".it"; ".mod" lengths are
/// 16-bit and cannot claim much): every sample's data fits in the file, and
/// all of them together do too.
std::string moduleSizeProblem(const std::string& path);
/// The same for a module read as format `ext` whatever its name.
std::string moduleSizeProblem(const std::string& path, const std::string& ext);

} // namespace orv
