#include "audio/DeclaredSizes.h"

#include "framework/ContentFile.h"
#include "framework/PathUtil.h"
#include "framework/StringUtil.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace orv {

namespace {

// Little-endian reads at absolute offsets; a read past the end sets `short_`
// and gives 0, so a walk can read first and judge once.
class Bytes {
public:
    explicit Bytes(const std::string& path) : in_(nativePath(path), std::ios::binary)
    {
        if (in_) {
            in_.seekg(0, std::ios::end);
            const std::streamoff end = in_.tellg();
            size_ = end > 0 ? static_cast<std::uint64_t>(end) : 0;
        }
    }
    bool open() const { return static_cast<bool>(in_); }
    std::uint64_t size() const { return size_; }
    bool pastEnd() const { return short_; }

    std::uint32_t le(std::uint64_t at, int width)
    {
        unsigned char b[4] = {0, 0, 0, 0};
        if (at > size_ || size_ - at < static_cast<std::uint64_t>(width)) {
            short_ = true;
            return 0;
        }
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(at));
        in_.read(reinterpret_cast<char*>(b), width);
        if (in_.gcount() != width) {
            short_ = true;
            return 0;
        }
        return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
               static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
    }
    std::uint32_t u8(std::uint64_t at) { return le(at, 1); }
    std::uint32_t u16(std::uint64_t at) { return le(at, 2); }
    std::uint32_t u32(std::uint64_t at) { return le(at, 4); }
    bool textAt(std::uint64_t at, const std::string& text)
    {
        for (std::size_t i = 0; i < text.size(); ++i)
            if (u8(at + i) != static_cast<unsigned char>(text[i]))
                return false;
        return !short_;
    }

private:
    std::ifstream in_;
    std::uint64_t size_ = 0;
    bool short_ = false;
};

// Far beyond any real recording; a header past these is lying.
constexpr std::uint32_t maxWaveChannels = 8;
constexpr std::uint32_t maxWaveRate = 1000000;

std::string claims(const std::string& what, std::uint64_t claimed, std::uint64_t available)
{
    return what + " claims " + std::to_string(claimed) + " bytes, only " + std::to_string(available) +
           " remain";
}

std::string remainingAfter(std::uint64_t at, std::uint64_t size)
{
    return at <= size ? std::to_string(size - at) : std::string("0");
}

// FastTracker 2: headers and data follow each other, so the walk knows where
// every sample's bytes lie; a claim past the end is a lie.
std::string xmProblem(Bytes& f)
{
    if (!f.textAt(0, "Extended Module: "))
        return std::string();
    const std::uint32_t version = f.u16(58);
    if (f.pastEnd())
        return "ends inside its header";
    if (version != 0x0104)
        return "version " + std::to_string(version >> 8) + "." + std::to_string(version & 0xFF) +
               " cannot be checked";
    const std::uint64_t size = f.size();
    std::uint64_t at = 60 + static_cast<std::uint64_t>(f.u32(60));
    const std::uint32_t patterns = f.u16(70);
    const std::uint32_t instruments = f.u16(72);
    if (f.pastEnd() || at > size)
        return "header runs past the end of the file";
    for (std::uint32_t p = 0; p < patterns; ++p) {
        const std::uint64_t header = f.u32(at);
        const std::uint64_t packed = f.u16(at + 7);
        if (f.pastEnd() || header + packed > size - at)
            return claims("pattern " + std::to_string(p), header + packed, size - at);
        at += header + packed;
    }
    for (std::uint32_t i = 0; i < instruments; ++i) {
        const std::uint64_t header = f.u32(at);
        const std::uint32_t samples = f.u16(at + 27);
        const std::uint64_t sampleHeader = samples > 0 ? f.u32(at + 29) : 0;
        if (f.pastEnd() || header + samples * sampleHeader > size - at)
            return claims("instrument " + std::to_string(i + 1) + "'s header", header + samples * sampleHeader,
                          size - at);
        const std::uint64_t headers = at + header;
        at = headers + samples * sampleHeader;
        std::uint64_t data = 0;
        for (std::uint32_t s = 0; s < samples; ++s) {
            data += f.u32(headers + s * sampleHeader);
            if (data > size - at)
                return claims("instrument " + std::to_string(i + 1) + "'s sample " + std::to_string(s + 1), data,
                              size - at);
        }
        at += data;
    }
    return std::string();
}

// Scream Tracker 3 and Impulse Tracker find their samples through pointers.
// Each sample must lie inside the file, and all of them together must fit in
// it, or one short file could point many huge samples at the same bytes. The
// bytes a length needs at least are counted (8-bit mono, and for packed IT
// samples one bit per sample), so no honest file is refused.
struct SampleClaim {
    std::uint64_t offset;
    std::uint64_t minimumBytes;
    std::uint32_t length;
};

std::string sampleClaimsProblem(const std::vector<SampleClaim>& samples, std::uint64_t size)
{
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const SampleClaim& s = samples[i];
        if (s.offset > size || s.minimumBytes > size - s.offset)
            return "sample " + std::to_string(i + 1) + " claims " + std::to_string(s.length) +
                   " samples at offset " + std::to_string(s.offset) + ", only " + remainingAfter(s.offset, size) +
                   " bytes remain";
        total += s.minimumBytes;
        if (total > size)
            return "its samples claim " + std::to_string(total) + " bytes together, the file has " +
                   std::to_string(size);
    }
    return std::string();
}

std::string s3mProblem(Bytes& f)
{
    if (!f.textAt(0x2C, "SCRM"))
        return std::string();
    const std::uint64_t orders = f.u16(0x20);
    const std::uint32_t instruments = f.u16(0x22);
    std::vector<SampleClaim> samples;
    for (std::uint32_t i = 0; i < instruments; ++i) {
        const std::uint64_t at = static_cast<std::uint64_t>(f.u16(0x60 + orders + 2 * i)) * 16;
        if (f.pastEnd())
            return "ends inside its instrument list";
        const std::uint32_t type = f.u8(at);
        if (f.pastEnd())
            return "instrument " + std::to_string(i + 1) + " lies outside the file";
        if (type != 1)
            continue; // empty or AdLib: no sample data
        const std::uint64_t offset = (static_cast<std::uint64_t>(f.u8(at + 0x0D)) << 16 | f.u16(at + 0x0E)) * 16;
        const std::uint32_t length = f.u32(at + 0x10);
        if (f.pastEnd())
            return "instrument " + std::to_string(i + 1) + " lies outside the file";
        samples.push_back({offset, length, length});
    }
    return sampleClaimsProblem(samples, f.size());
}

std::string itProblem(Bytes& f)
{
    if (!f.textAt(0, "IMPM"))
        return std::string();
    const std::uint64_t orders = f.u16(0x20);
    const std::uint64_t instruments = f.u16(0x22);
    const std::uint32_t sampleCount = f.u16(0x24);
    const std::uint64_t pointers = 0xC0 + orders + instruments * 4;
    std::vector<SampleClaim> samples;
    for (std::uint32_t i = 0; i < sampleCount; ++i) {
        const std::uint64_t at = f.u32(pointers + 4 * static_cast<std::uint64_t>(i));
        const std::uint32_t flags = f.u8(at + 0x12);
        const std::uint32_t length = f.u32(at + 0x30);
        const std::uint64_t offset = f.u32(at + 0x48);
        if (f.pastEnd())
            return "sample " + std::to_string(i + 1) + "'s header lies outside the file";
        if (!(flags & 1))
            continue; // no sample data
        const bool packed = (flags & 8) != 0;
        samples.push_back({offset, packed ? length / 8u : length, length});
    }
    return sampleClaimsProblem(samples, f.size());
}

} // namespace

std::string waveSizeProblem(const std::string& path)
{
    const std::string irregular = contentFileProblem(path);
    if (!irregular.empty())
        return irregular;
    Bytes f(path);
    if (!f.open() || !f.textAt(0, "RIFF") || !f.textAt(8, "WAVE"))
        return std::string();
    // Chunks as the decoder walks them: no padding between them.
    const std::uint64_t size = f.size();
    std::uint64_t at = 12;
    bool format = false;
    while (at + 8 <= size) {
        std::string id(4, ' ');
        for (int i = 0; i < 4; ++i)
            id[static_cast<std::size_t>(i)] = static_cast<char>(f.u8(at + static_cast<std::uint64_t>(i)));
        const std::uint64_t length = f.u32(at + 4);
        if (length > size - at - 8)
            return claims("chunk \"" + id + "\"", length, size - at - 8);
        // The streaming player sizes its buffer by rate times channels.
        // The decoder divides by the sample size the format chunk gives:
        // without one (or with a size of 0) it must not be reached.
        if (id == "fmt " && length >= 16) {
            const std::uint32_t bits = f.u16(at + 22);
            if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
                return std::to_string(bits) + " bits per sample is not a sound format";
            format = true;
        }
        if (id == "fmt " && length >= 8) {
            const std::uint32_t channels = f.u16(at + 10);
            const std::uint32_t rate = f.u32(at + 12);
            if (channels < 1 || channels > maxWaveChannels || rate < 1 || rate > maxWaveRate)
                return std::to_string(channels) + " channels at " + std::to_string(rate) +
                       " Hz is not a sound format";
        }
        if (id == "data")
            return format ? std::string() : "no format chunk before its data";
        at += 8 + length;
    }
    return std::string();
}

std::string moduleSizeProblem(const std::string& path)
{
    const std::size_t dot = path.find_last_of('.');
    return moduleSizeProblem(path, dot == std::string::npos ? std::string() : toLower(path.substr(dot)));
}

std::string moduleSizeProblem(const std::string& path, const std::string& ext)
{
    const std::string irregular = contentFileProblem(path);
    if (!irregular.empty())
        return irregular;
    if (ext != ".xm" && ext != ".s3m" && ext != ".it")
        return std::string();
    Bytes f(path);
    if (!f.open())
        return std::string();
    if (ext == ".xm")
        return xmProblem(f);
    if (ext == ".s3m")
        return s3mProblem(f);
    return itProblem(f);
}

} // namespace orv
