#include "ModWriter.h"

#include <cmath>

namespace mod {

namespace {

void u8(std::vector<std::uint8_t>& out, unsigned v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
}

void u16be(std::vector<std::uint8_t>& out, unsigned v)
{
    u8(out, v >> 8);
    u8(out, v);
}

void text(std::vector<std::uint8_t>& out, const std::string& s, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i)
        u8(out, i < s.size() ? static_cast<unsigned char>(s[i]) : 0);
}

// The Amiga period of a note: C-1 is 856, each semitone a twelfth root of two.
unsigned period(int note)
{
    return static_cast<unsigned>(std::lround(856.0 * std::pow(2.0, -note / 12.0)));
}

} // namespace

std::vector<std::uint8_t> write(const Module& m)
{
    std::vector<std::uint8_t> out;
    text(out, m.title, 20);
    for (std::size_t i = 0; i < 31; ++i) {
        const Sample empty;
        const Sample& s = i < m.samples.size() ? m.samples[i] : empty;
        text(out, s.name, 22);
        u16be(out, static_cast<unsigned>(s.data.size() / 2));
        u8(out, 0); // finetune
        u8(out, s.volume);
        u16be(out, s.loopLength ? s.loopStart / 2 : 0);
        u16be(out, s.loopLength ? s.loopLength / 2 : 1);
    }
    u8(out, static_cast<unsigned>(m.order.size()));
    u8(out, 127);
    for (std::size_t i = 0; i < 128; ++i)
        u8(out, i < m.order.size() ? m.order[i] : 0);
    text(out, "M.K.", 4);
    for (const Pattern& p : m.patterns)
        for (const auto& row : p.cells)
            for (const Note& n : row) {
                const unsigned per = n.note >= 0 ? period(n.note) : 0;
                const unsigned smp = static_cast<unsigned>(n.sample);
                u8(out, (smp & 0xF0) | (per >> 8));
                u8(out, per);
                u8(out, ((smp & 0x0F) << 4) | (n.effect & 0x0F));
                u8(out, n.param);
            }
    for (const Sample& s : m.samples)
        for (std::int8_t v : s.data)
            u8(out, static_cast<std::uint8_t>(v));
    return out;
}

} // namespace mod
