#include "XmWriter.h"

#include <cmath>
#include <cstring>
#include <fstream>

namespace xm {

namespace {

struct Bytes {
    std::vector<std::uint8_t> out;
    void u8(unsigned v) { out.push_back(static_cast<std::uint8_t>(v & 0xFF)); }
    void u16(unsigned v)
    {
        u8(v);
        u8(v >> 8);
    }
    void u32(std::uint32_t v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void text(const std::string& s, std::size_t size)
    {
        for (std::size_t i = 0; i < size; ++i)
            u8(i < s.size() ? static_cast<std::uint8_t>(s[i]) : 0);
    }
    void zeros(std::size_t n) { out.insert(out.end(), n, 0); }
};

// Patterns are stored packed: a byte with the top bit set says which of the
// five fields follow; an empty cell takes one byte.
std::vector<std::uint8_t> packPattern(const Pattern& p, int channels)
{
    std::vector<std::uint8_t> data;
    for (int row = 0; row < p.rows; ++row) {
        for (int ch = 0; ch < channels; ++ch) {
            const std::size_t index = static_cast<std::size_t>(row * channels + ch);
            const Note n = index < p.cells.size() ? p.cells[index] : Note{};
            std::uint8_t flags = 0x80;
            if (n.note) flags |= 0x01;
            if (n.instrument) flags |= 0x02;
            if (n.volume) flags |= 0x04;
            if (n.effect) flags |= 0x08;
            if (n.param) flags |= 0x10;
            data.push_back(flags);
            if (n.note) data.push_back(n.note);
            if (n.instrument) data.push_back(n.instrument);
            if (n.volume) data.push_back(n.volume);
            if (n.effect) data.push_back(n.effect);
            if (n.param) data.push_back(n.param);
        }
    }
    return data;
}

} // namespace

std::vector<std::uint8_t> write(const Module& m)
{
    Bytes b;
    b.text("Extended Module: ", 17);
    b.text(m.name, 20);
    b.u8(0x1A);
    b.text("Tarnwick zcontent", 20);
    b.u16(0x0104);
    b.u32(276); // header size, counted from this field
    b.u16(static_cast<unsigned>(m.order.size()));
    b.u16(0); // restart position
    b.u16(static_cast<unsigned>(m.channels));
    b.u16(static_cast<unsigned>(m.patterns.size()));
    b.u16(static_cast<unsigned>(m.instruments.size()));
    b.u16(1); // linear frequency table
    b.u16(static_cast<unsigned>(m.tempo));
    b.u16(static_cast<unsigned>(m.bpm));
    for (std::size_t i = 0; i < 256; ++i)
        b.u8(i < m.order.size() ? m.order[i] : 0);

    for (const Pattern& p : m.patterns) {
        const std::vector<std::uint8_t> data = packPattern(p, m.channels);
        b.u32(9);
        b.u8(0);
        b.u16(static_cast<unsigned>(p.rows));
        b.u16(static_cast<unsigned>(data.size()));
        b.out.insert(b.out.end(), data.begin(), data.end());
    }

    for (std::size_t i = 0; i < m.instruments.size(); ++i) {
        const Sample& s = m.instruments[i];
        b.u32(263);
        b.text("instrument " + std::to_string(i + 1), 22);
        b.u8(0);
        b.u16(1);  // one sample
        b.u32(40); // sample header size
        b.zeros(96); // every note plays sample 0
        b.zeros(48); // volume envelope points
        b.zeros(48); // panning envelope points
        b.zeros(6 + 2 + 2); // point counts, sustain and loop points, envelope types
        b.zeros(4); // vibrato
        b.u16(0);   // fadeout
        b.zeros(22);

        b.u32(static_cast<std::uint32_t>(s.data.size()));
        b.u32(s.loopLength ? s.loopStart : 0);
        b.u32(s.loopLength);
        b.u8(s.volume);
        b.u8(0); // finetune
        b.u8(s.loopLength ? 1 : 0); // forward loop, 8-bit
        b.u8(s.panning);
        b.u8(static_cast<std::uint8_t>(s.relativeNote));
        b.u8(0);
        b.text("sample", 22);
        // Sample data is stored as differences from the previous sample.
        std::int8_t previous = 0;
        for (std::int8_t v : s.data) {
            b.u8(static_cast<std::uint8_t>(static_cast<std::int8_t>(v - previous)));
            previous = v;
        }
    }
    return b.out;
}

bool save(const Module& module, const std::string& path)
{
    const std::vector<std::uint8_t> bytes = write(module);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::uint8_t noteNumber(const char* name)
{
    static const char* names[] = {"C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"};
    for (int i = 0; i < 12; ++i)
        if (std::strncmp(name, names[i], 2) == 0)
            return static_cast<std::uint8_t>((name[2] - '0') * 12 + i + 1);
    return 0;
}

Sample waveSample(const std::string& shape, int period, std::uint8_t volume)
{
    Sample s;
    s.volume = volume;
    s.data.resize(static_cast<std::size_t>(period));
    for (int i = 0; i < period; ++i) {
        const double t = static_cast<double>(i) / period;
        double v;
        if (shape == "square")
            v = t < 0.5 ? 1.0 : -1.0;
        else if (shape == "saw")
            v = 2.0 * t - 1.0;
        else if (shape == "triangle")
            v = t < 0.5 ? 4.0 * t - 1.0 : 3.0 - 4.0 * t;
        else
            v = std::sin(2.0 * 3.14159265358979323846 * t);
        s.data[static_cast<std::size_t>(i)] = static_cast<std::int8_t>(std::lround(v * 100.0));
    }
    s.loopStart = 0;
    s.loopLength = static_cast<std::uint32_t>(period);
    return s;
}

Module testModule(int channels, int seconds)
{
    Module m;
    m.name = "test module";
    m.channels = channels;
    m.instruments.push_back(waveSample("sine", 32, 40));
    m.instruments.push_back(waveSample("square", 64, 24));
    // At tempo 6 and 125 BPM a row lasts 0.12 s; a 64-row pattern 7.68 s.
    Pattern p;
    p.rows = 64;
    p.cells.resize(static_cast<std::size_t>(p.rows * channels));
    const char* chord[] = {"C-4", "E-4", "G-4", "C-5", "A-3", "F-4", "D-4", "B-3"};
    for (int row = 0; row < p.rows; row += 8)
        for (int ch = 0; ch < channels; ++ch) {
            Note& n = p.cells[static_cast<std::size_t>(row * channels + ch)];
            n.note = noteNumber(chord[(ch + row / 8) % 8]);
            n.instrument = static_cast<std::uint8_t>(1 + ch % 2);
        }
    m.patterns.push_back(p);
    const int patterns = std::max(1, static_cast<int>(std::ceil(seconds / 7.68)));
    for (int i = 0; i < patterns; ++i)
        m.order.push_back(0);
    return m;
}

} // namespace xm
