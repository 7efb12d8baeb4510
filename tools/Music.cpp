#include "Music.h"

#include "ModWriter.h"
#include "Noise.h"
#include "Output.h"
#include "Synth.h"
#include "XmWriter.h"

#include <cmath>
#include <sstream>
#include <string>

namespace content {

namespace {

constexpr double twoPi = 6.283185307179586;
constexpr int drumRate = 8363; // a sample played at C-4 plays at this rate

enum Channel { Bass, Lead, Arp, Kick, Snare, Hat, channelCount };
enum Instrument { InsBass = 1, InsLead, InsArp, InsKick, InsSnare, InsHat, InsFlute };

std::int8_t clip8(double v)
{
    return static_cast<std::int8_t>(std::lround(std::max(-1.0, std::min(1.0, v)) * 110.0));
}

// One waveform cycle of 64 samples; at relative note +12 it plays C-4 at
// 261 Hz like a real C-4.
xm::Sample cycle(const std::string& shape, std::uint8_t volume)
{
    xm::Sample s = xm::waveSample(shape, 64, volume);
    s.relativeNote = 12;
    if (shape == "pulse") {
        for (int i = 0; i < 64; ++i)
            s.data[static_cast<std::size_t>(i)] = clip8(i < 16 ? 0.8 : -0.8);
    } else if (shape == "bass") {
        // A saw with its sharp edge rounded off, so it growls without buzzing.
        for (int i = 0; i < 64; ++i) {
            const double t = i / 64.0;
            double v = 0.0;
            for (int h = 1; h <= 6; ++h)
                v += std::sin(twoPi * h * t) / h * (h % 2 ? 1.0 : 0.6);
            s.data[static_cast<std::size_t>(i)] = clip8(v * 0.55);
        }
    }
    return s;
}

xm::Sample drum(Instrument kind, std::uint8_t volume)
{
    xm::Sample s;
    s.volume = volume;
    content::Rng rng(static_cast<std::uint32_t>(kind) * 77u);
    const double seconds = kind == InsKick ? 0.3 : kind == InsSnare ? 0.22 : 0.08;
    const int frames = static_cast<int>(seconds * drumRate) & ~1;
    double phase = 0.0, hiss = 0.0;
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / drumRate;
        double v = 0.0;
        if (kind == InsKick) {
            phase += twoPi * (45.0 + 110.0 * std::exp(-t * 30.0)) / drumRate;
            v = std::sin(phase) * std::exp(-t * 9.0);
        } else if (kind == InsSnare) {
            phase += twoPi * 185.0 / drumRate;
            const double n = rng.unit() * 2.0 - 1.0;
            hiss += 0.6 * (n - hiss);
            v = 0.45 * std::sin(phase) * std::exp(-t * 25.0) + 0.8 * hiss * std::exp(-t * 14.0);
        } else {
            const double n = rng.unit() * 2.0 - 1.0;
            v = (n - hiss) * std::exp(-t * 60.0); // the difference keeps the highs
            hiss = n;
        }
        s.data.push_back(clip8(v));
    }
    return s;
}

struct Writer {
    xm::Pattern& p;
    void set(int row, int channel, std::uint8_t note, int instrument, int volume = 0, int effect = 0, int param = 0)
    {
        xm::Note& n = p.cells[static_cast<std::size_t>(row * channelCount + channel)];
        n.note = note;
        n.instrument = static_cast<std::uint8_t>(instrument);
        n.volume = static_cast<std::uint8_t>(volume ? 0x10 + volume : 0);
        n.effect = static_cast<std::uint8_t>(effect);
        n.param = static_cast<std::uint8_t>(param);
    }
};

struct Chord {
    const char* root; // bass note, octave 2
    bool minor;
};

const Chord verse[4] = {{"A-2", true}, {"F-2", false}, {"C-3", false}, {"G-2", false}};
const Chord bridge[4] = {{"D-3", true}, {"A-2", true}, {"E-2", false}, {"E-2", false}};

std::uint8_t transpose(std::uint8_t note, int semitones)
{
    return static_cast<std::uint8_t>(note + semitones);
}

void bassLine(Writer& w, const Chord chords[4], bool busy)
{
    for (int bar = 0; bar < 4; ++bar) {
        const std::uint8_t root = xm::noteNumber(chords[bar].root);
        const int r = bar * 16;
        w.set(r, Bass, root, InsBass);
        w.set(r + 6, Bass, root, InsBass, 40);
        w.set(r + 8, Bass, transpose(root, 12), InsBass, 48);
        w.set(r + 12, Bass, root, InsBass);
        if (busy) {
            w.set(r + 10, Bass, root, InsBass, 36);
            w.set(r + 14, Bass, transpose(root, 7), InsBass, 44);
        }
    }
}

void arpeggio(Writer& w, const Chord chords[4], int volume)
{
    for (int bar = 0; bar < 4; ++bar) {
        const std::uint8_t root = transpose(xm::noteNumber(chords[bar].root), 24);
        for (int beat = 0; beat < 16; beat += 4) // re-struck each beat, softer off the bar
            w.set(bar * 16 + beat, Arp, root, InsArp, beat ? volume * 3 / 4 : volume, 0x0,
                  chords[bar].minor ? 0x37 : 0x47);
    }
}

void drums(Writer& w, bool kick, bool snare, bool hats, bool fill)
{
    for (int row = 0; row < 64; ++row) {
        const int beat = row % 16;
        if (kick && (beat == 0 || beat == 8 || beat == 10))
            w.set(row, Kick, xm::noteNumber("C-4"), InsKick);
        if (snare && (beat == 4 || beat == 12))
            w.set(row, Snare, xm::noteNumber("C-4"), InsSnare);
        if (hats && row % 2 == 0)
            w.set(row, Hat, xm::noteNumber("C-6"), InsHat, row % 4 ? 20 : 40);
    }
    if (fill) // a snare roll into the repeat
        for (int row = 56; row < 64; ++row)
            w.set(row, Snare, xm::noteNumber("C-4"), InsSnare, 24 + (row - 56) * 5);
}

// A melody as text: one token per row, "." holds, "off" releases, a note
// name starts a note; bars may be split over several strings.
void melody(Writer& w, const std::string& text, int instrument, int octaveShift = 0)
{
    std::istringstream in(text);
    std::string token;
    int row = 0;
    while (in >> token && row < 64) {
        if (token == "off")
            w.set(row, Lead, 97, 0);
        else if (token != ".")
            w.set(row, Lead, transpose(xm::noteNumber(token.c_str()), 12 * octaveShift), instrument);
        ++row;
    }
}

const char* melodyA = "E-5 . . . C-5 . D-5 . E-5 . . . A-4 . . off "
                      "F-5 . . . E-5 . C-5 . A-4 . . . C-5 . . off "
                      "G-5 . . . E-5 . G-5 . C-6 . . . G-5 . E-5 . "
                      "D-5 . . . B-4 . D-5 . G-5 . . . . . off .";
const char* melodyB = "A-5 . G-5 . E-5 . . . D-5 . E-5 . C-5 . . . "
                      "A-4 . C-5 . F-5 . . . E-5 . D-5 . C-5 . . . "
                      "E-5 . G-5 . C-6 . . . B-5 . G-5 . E-5 . . . "
                      "D-5 . . . G-4 . B-4 . D-5 . . . off . . .";
const char* melodyC = "F-5 . . . A-5 . . . G-5 . F-5 . E-5 . D-5 . "
                      "E-5 . . . C-5 . . . A-4 . . . . . off . "
                      "G#4 . B-4 . E-5 . G#5 . B-5 . . . A-5 . G#5 . "
                      "E-5 . . . . . . . B-4 . . . off . . .";

} // namespace

xm::Module magicTune()
{
    xm::Module m;
    m.name = "Magic of the Lakes";
    m.channels = channelCount;
    m.tempo = 6;
    m.bpm = 125;
    // Levels leave headroom: every channel at its loudest together stays
    // below full scale.
    m.instruments = {cycle("bass", 34), cycle("pulse", 18), cycle("triangle", 22), drum(InsKick, 40),
                     drum(InsSnare, 30), drum(InsHat, 20), cycle("sine", 30)};
    m.instruments[InsArp - 1].panning = 96;
    m.instruments[InsLead - 1].panning = 150;
    m.instruments[InsHat - 1].panning = 170;

    auto pattern = [&](auto&& compose) {
        xm::Pattern p;
        p.rows = 64;
        p.cells.resize(static_cast<std::size_t>(64 * channelCount));
        Writer w{p};
        compose(w);
        m.patterns.push_back(p);
    };
    pattern([](Writer& w) { // 0: intro, chords and hats
        arpeggio(w, verse, 40);
        drums(w, false, false, true, false);
        w.set(48, Bass, xm::noteNumber("G-2"), InsBass, 40);
    });
    pattern([](Writer& w) { // 1: the groove
        bassLine(w, verse, false);
        arpeggio(w, verse, 36);
        drums(w, true, true, true, false);
    });
    pattern([](Writer& w) { // 2: first tune
        bassLine(w, verse, true);
        arpeggio(w, verse, 30);
        drums(w, true, true, true, false);
        melody(w, melodyA, InsLead);
    });
    pattern([](Writer& w) { // 3: answer
        bassLine(w, verse, true);
        arpeggio(w, verse, 30);
        drums(w, true, true, true, true);
        melody(w, melodyB, InsLead);
    });
    pattern([](Writer& w) { // 4: bridge
        bassLine(w, bridge, false);
        arpeggio(w, bridge, 36);
        drums(w, true, false, true, false);
    });
    pattern([](Writer& w) { // 5: bridge tune
        bassLine(w, bridge, true);
        arpeggio(w, bridge, 30);
        drums(w, true, true, true, true);
        melody(w, melodyC, InsFlute);
    });
    pattern([](Writer& w) { // 6: first tune on the flute, an octave up
        bassLine(w, verse, true);
        arpeggio(w, verse, 28);
        drums(w, true, true, true, false);
        melody(w, melodyA, InsFlute, 0);
    });
    pattern([](Writer& w) { // 7: breakdown and roll back to the start
        bassLine(w, verse, false);
        arpeggio(w, verse, 24);
        drums(w, true, false, false, true);
    });
    m.order = {0, 1, 2, 3, 4, 5, 6, 3, 7};
    return m;
}

namespace {

// A short four-channel ditty for the ProTracker format.
mod::Module ditty()
{
    mod::Module m;
    m.title = "Tarnwick ditty";
    auto wave = [](const char* name, double (*f)(double), std::uint8_t volume) {
        mod::Sample s;
        s.name = name;
        for (int i = 0; i < 64; ++i)
            s.data.push_back(clip8(f(i / 64.0)));
        s.loopStart = 0;
        s.loopLength = 64;
        s.volume = volume;
        return s;
    };
    m.samples.push_back(wave("bass", [](double t) { return 0.9 * (2.0 * t - 1.0); }, 40));
    m.samples.push_back(wave("lead", [](double t) { return t < 0.5 ? 0.7 : -0.7; }, 28));
    m.samples.push_back(wave("bell", [](double t) { return std::sin(twoPi * t) * 0.9; }, 34));
    mod::Sample kick;
    kick.name = "kick";
    for (const std::int8_t v : drum(InsKick, 64).data)
        kick.data.push_back(v);
    kick.data.resize(kick.data.size() & ~std::size_t(1));
    kick.volume = 48;
    m.samples.push_back(kick);

    // MOD notes count from C-1; with 64-sample cycles C-3 sounds as middle C.
    const int bassRoots[4] = {9, 5, 0, 7}; // A, F, C, G (octave 1 = low)
    const int tune[2][16] = {{28, -1, 31, -1, 33, -1, 31, 28, 26, -1, 28, -1, 24, -1, -1, -1},
                             {33, -1, 35, 36, 35, -1, 33, -1, 31, -1, 28, -1, 31, -1, -1, -1}};
    for (int pi = 0; pi < 3; ++pi) {
        mod::Pattern p;
        for (int row = 0; row < 64; ++row) {
            const int bar = row / 16, beat = row % 16;
            if (beat % 4 == 0)
                p.cells[row][0] = {bassRoots[bar] + (beat == 8 ? 12 : 0), 1, 0, 0};
            if (pi > 0 && row % 2 == 0 && tune[pi % 2][beat] >= 0 && bar % 2 == 0)
                p.cells[row][1] = {tune[pi % 2][beat], 2, 0, 0};
            if (beat == 0 || beat == 8)
                p.cells[row][2] = {24 + bassRoots[bar], 3, 0x0, static_cast<std::uint8_t>(bar == 0 ? 0x37 : 0x47)};
            if (pi != 0 && (beat == 0 || beat == 6 || beat == 10))
                p.cells[row][3] = {24, 4, 0, 0};
        }
        m.patterns.push_back(p);
    }
    m.order = {0, 1, 2, 1};
    return m;
}

// A gentle plucked piece (Karplus-Strong strings) for the Ogg player.
Signal lakeside(Rng& rng, double detune)
{
    const double seconds = 24.0;
    Signal s(static_cast<std::size_t>(seconds * sampleRate));
    const double roots[4] = {220.0, 174.61, 261.63, 196.0};
    const bool minor[4] = {true, false, false, false};
    const double beat = 60.0 / 84.0 / 2.0; // eighth notes at 84 BPM
    int step = 0;
    for (double t = 0.0; t < seconds - 2.0; t += beat, ++step) {
        const int chord = (step / 16) % 4;
        const int shape[8] = {0, 2, 1, 2, 3, 2, 1, 2};
        const double ratios[4] = {1.0, minor[chord] ? 1.1892 : 1.2599, 1.4983, 2.0};
        const double f = roots[chord] * ratios[shape[step % 8]] * detune;
        const std::size_t delay = static_cast<std::size_t>(sampleRate / f);
        std::vector<float> line(delay);
        for (float& v : line)
            v = rng.unit() * 2.0f - 1.0f;
        const std::size_t start = static_cast<std::size_t>(t * sampleRate);
        const std::size_t length = static_cast<std::size_t>(1.6 * sampleRate);
        for (std::size_t i = 0; i < length && start + i < s.size(); ++i) {
            const std::size_t k = i % delay;
            const float out = line[k];
            line[k] = 0.4985f * (line[k] + line[(k + 1) % delay]);
            s[start + i] += out * (step % 8 == 0 ? 0.5f : 0.32f);
        }
    }
    return s;
}

} // namespace

bool makeMusic(const std::filesystem::path& root)
{
    const std::filesystem::path folder = root / "Data/Music";
    Rng rng(0x1A4E);
    Signal left = lakeside(rng, 1.0), right = lakeside(rng, 1.0015);
    lowPass(left, 6000.0f);
    lowPass(right, 6000.0f);
    Signal both = interleave(left, right);
    setLevel(both, -18.0f);
    return saveBytes(xm::write(magicTune()), folder / "magic.xm") &&
           saveBytes(mod::write(ditty()), folder / "Ditty.mod") &&
           saveSound(toPcm(both), 2, sampleRate, folder / "Lakeside.ogg");
}

} // namespace content
