#include "Music.h"

#include "Loudness.h"

#include <lame/lame.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <tuple>
#include <thread>

namespace music {

using namespace synth;

const std::vector<double>& sectionTimes()
{
    static const std::vector<double> times{0.0, 43.467, 127.802, 135.233, 174.056,
                                           212.88, 229.041, 261.549, 294.243, 356.0};
    return times;
}

const std::vector<double>& cueTimes()
{
    static const std::vector<double> times{10.667, 24.133, 30.0, 66.233, 85.4, 95.033, 280.0, 335.109};
    return times;
}

TempoGrid::TempoGrid(const std::vector<double>& anchors, double end, double nominalBpm)
{
    const double halfBar = 2.0 * 60.0 / nominalBpm;
    for (size_t i = 0; i < anchors.size(); ++i) {
        const double start = anchors[i];
        const double stop = i + 1 < anchors.size() ? anchors[i + 1] : end;
        const int halfBars = std::max(1, static_cast<int>(std::lround((stop - start) / halfBar)));
        stretches_.push_back({start, stop, halfBars, (stop - start) / (halfBars * 2)});
    }
}

namespace {

// ---------------------------------------------------------------------------------------------
// The arrangement sheet: one row per stretch between anchors. Levels are 0 (silent) to about 1.

struct Part {
    double start;
    const char* name;
    int progression;     // row of kProgressions
    float level = 1.0f;  // scales every note of the part
    float kick = 0, snare = 0, clap = 0, hats = 0;
    int drumPattern = 0; // 0 four to the floor, 1 broken half time
    int hatPattern = 0;  // 0 open off-beats, 1 sixteenths, 2 eighths
    int rollSteps = 0;   // snare roll over the last sixteenths, drums held back
    float bass = 0;
    int bassPattern = 0; // 0 held, 1 off-beat eighths, 2 rolling, 3 acid line, 4 broken
    float pad = 0, padBright = 0.3f;
    float arp = 0, arpBright = 0.4f;
    float lead = 0, leadBright = 0.5f;
    float bell = 0, wind = 0;
    float duck = 0;          // side-chain depth from the kick
    float cutoff = 20000.0f; // master low pass while the part plays
    float impact = 0;        // crash and sub drop on the first beat
    bool crash = true;       // false: the sub drop alone, for a part that opens dark
    bool boom = true;        // false: the crash alone, for a part that calms down
    int breakSteps = 2;      // with an impact: sixteenths the rhythm of the part before pauses
    int riserSteps = 0;      // noise sweep into the next anchor
};

const std::vector<Part>& parts()
{
    static const std::vector<Part> sheet{
        {.start = 0.0, .name = "dawn", .progression = 0, .pad = 0.6f, .padBright = 0.15f, .bell = 0.5f,
         .wind = 0.6f, .riserSteps = 8},
        {.start = 10.667, .name = "pulse", .progression = 0, .hats = 0.35f, .hatPattern = 2, .bass = 0.75f,
         .bassPattern = 1, .pad = 0.55f, .padBright = 0.3f, .bell = 0.3f, .wind = 0.35f, .duck = 0.3f,
         .impact = 0.6f, .riserSteps = 16},
        {.start = 24.133, .name = "breath", .progression = 3, .pad = 0.6f, .padBright = 0.45f, .arp = 0.5f,
         .arpBright = 0.3f, .wind = 0.3f, .impact = 0.6f, .riserSteps = 32},
        {.start = 30.0, .name = "rise", .progression = 0, .kick = 0.9f, .hats = 0.4f, .rollSteps = 16,
         .bass = 0.8f, .bassPattern = 1, .pad = 0.5f, .padBright = 0.4f, .arp = 0.45f, .arpBright = 0.4f,
         .lead = 0.55f, .leadBright = 0.35f, .duck = 0.5f, .impact = 0.8f, .riserSteps = 64},
        {.start = 43.467, .name = "tide", .progression = 1, .kick = 1.0f, .clap = 0.7f, .hats = 0.55f,
         .bass = 0.9f, .bassPattern = 2, .pad = 0.2f, .padBright = 0.3f, .arp = 0.55f, .arpBright = 0.5f,
         .duck = 0.6f, .impact = 1.0f, .riserSteps = 16},
        {.start = 66.233, .name = "current", .progression = 0, .kick = 1.0f, .clap = 0.7f, .hats = 0.55f,
         .hatPattern = 1, .bass = 0.9f, .bassPattern = 2, .pad = 0.6f, .padBright = 0.6f, .arp = 0.5f,
         .arpBright = 0.5f, .lead = 0.75f, .leadBright = 0.6f, .duck = 0.6f, .impact = 0.8f, .breakSteps = 16,
         .riserSteps = 16},
        {.start = 85.4, .name = "undertow", .progression = 3, .kick = 0.9f, .hats = 0.4f, .bass = 0.9f,
         .bassPattern = 1, .pad = 0.6f, .padBright = 0.5f, .arp = 0.6f, .arpBright = 0.7f, .bell = 0.35f,
         .duck = 0.5f, .cutoff = 650.0f, .impact = 0.7f, .riserSteps = 32},
        {.start = 95.033, .name = "surface", .progression = 1, .kick = 1.0f, .clap = 0.8f, .hats = 0.6f,
         .hatPattern = 1, .bass = 1.0f, .bassPattern = 2, .pad = 0.5f, .padBright = 0.6f, .arp = 0.5f,
         .arpBright = 0.55f, .lead = 0.8f, .leadBright = 0.7f, .duck = 0.6f, .impact = 1.0f},
        {.start = 127.802, .name = "interlude", .progression = 3, .level = 0.5f, .pad = 0.6f, .padBright = 0.15f,
         .bell = 0.6f, .wind = 0.45f, .impact = 0.35f, .riserSteps = 32},
        {.start = 135.233, .name = "tunnel", .progression = 2, .kick = 1.0f, .snare = 0.7f, .hats = 0.6f,
         .hatPattern = 1, .rollSteps = 4, .bass = 0.9f, .bassPattern = 3, .pad = 0.35f, .padBright = 0.3f,
         .duck = 0.5f, .impact = 1.0f, .riserSteps = 32},
        {.start = 174.056, .name = "cellar", .progression = 2, .kick = 0.95f, .snare = 0.8f, .drumPattern = 1,
         .bass = 0.9f, .bassPattern = 4, .pad = 0.5f, .padBright = 0.08f, .bell = 0.35f, .wind = 0.5f,
         .duck = 0.4f, .impact = 0.8f},
        {.start = 212.88, .name = "lattice", .progression = 0, .hats = 0.5f, .hatPattern = 1, .rollSteps = 32,
         .bass = 0.5f, .pad = 0.45f, .padBright = 0.7f, .arp = 0.8f, .arpBright = 0.9f,
         .impact = 0.7f, .breakSteps = 0, .riserSteps = 64},
        {.start = 229.041, .name = "ascent", .progression = 1, .kick = 1.0f, .clap = 0.8f, .hats = 0.6f,
         .bass = 1.0f, .bassPattern = 2, .pad = 0.6f, .padBright = 0.8f, .arp = 0.5f, .arpBright = 0.6f,
         .lead = 0.85f, .leadBright = 0.8f, .duck = 0.6f, .impact = 1.0f, .breakSteps = 16, .riserSteps = 16},
        {.start = 261.549, .name = "alien", .progression = 2, .kick = 1.0f, .snare = 0.6f, .drumPattern = 1,
         .rollSteps = 16, .bass = 0.9f, .bassPattern = 3, .pad = 0.4f, .padBright = 0.08f, .bell = 0.3f,
         .wind = 0.4f, .duck = 0.5f, .impact = 0.9f, .crash = false, .breakSteps = 8,
         .riserSteps = 64},
        {.start = 280.0, .name = "morph", .progression = 3, .kick = 1.0f, .clap = 0.9f, .hats = 0.65f,
         .bass = 1.0f, .bassPattern = 2, .pad = 0.65f, .padBright = 0.9f, .arp = 0.55f, .arpBright = 0.6f,
         .lead = 0.9f, .leadBright = 0.9f, .duck = 0.65f, .impact = 1.2f},
        {.start = 294.243, .name = "farewell", .progression = 0, .bass = 0.6f,
         .pad = 0.6f, .padBright = 0.4f, .arp = 0.45f, .arpBright = 0.35f, .lead = 0.55f, .leadBright = 0.4f,
         .bell = 0.3f, .impact = 0.8f, .boom = false, .riserSteps = 32},
        {.start = 335.109, .name = "echo", .progression = 0, .level = 0.8f, .bass = 0.5f, .pad = 0.55f,
         .padBright = 0.15f, .bell = 0.7f, .wind = 0.45f, .impact = 0.6f, .crash = false, .breakSteps = 8},
        {.start = 356.0, .name = "close", .progression = 0, .bass = 0.6f, .pad = 0.7f, .padBright = 0.3f,
         .bell = 0.5f, .impact = 0.9f},
    };
    return sheet;
}

// Harmony: D minor. A chord is a root in semitones above D and a seventh-chord quality.
struct Chord {
    int root;
    int quality; // 0 minor seventh, 1 major seventh, 2 dominant seventh
};
constexpr int kIntervals[3][4] = {{0, 3, 7, 10}, {0, 4, 7, 11}, {0, 4, 7, 10}};
constexpr Chord kProgressions[4][4] = {
    {{0, 0}, {8, 1}, {3, 1}, {10, 1}}, // Dm Bb F C
    {{0, 0}, {5, 0}, {8, 1}, {7, 2}},  // Dm Gm Bb A
    {{0, 0}, {1, 1}, {0, 0}, {10, 1}}, // Dm Eb Dm C
    {{0, 0}, {10, 1}, {8, 1}, {7, 2}}, // Dm C Bb A
};

int mod12(int x) { return ((x % 12) + 12) % 12; }
// The chord's k-th tone as the lowest MIDI note at or above `floor`.
float chordTone(const Chord& c, int k, int floor) { return float(floor + mod12(2 + c.root + kIntervals[c.quality][k % 4] - floor)); }

// Lead melodies, one per progression (two bars per chord): chord, step, MIDI note, length in steps.
struct MelodyNote {
    int chord, step, note, steps;
};
const std::vector<MelodyNote>& melody(int progression)
{
    static const std::vector<MelodyNote> melodies[4] = {
        {{0, 0, 69, 6}, {0, 6, 65, 2}, {0, 8, 64, 4}, {0, 12, 62, 4}, {0, 16, 65, 6}, {0, 22, 69, 2},
         {0, 24, 72, 8}, {1, 0, 74, 6}, {1, 6, 72, 2}, {1, 8, 70, 4}, {1, 12, 69, 4}, {1, 16, 65, 12},
         {1, 28, 67, 4}, {2, 0, 69, 6}, {2, 6, 67, 2}, {2, 8, 65, 4}, {2, 12, 69, 4}, {2, 16, 72, 8},
         {2, 24, 69, 4}, {2, 28, 67, 4}, {3, 0, 64, 6}, {3, 6, 67, 2}, {3, 8, 72, 4}, {3, 12, 70, 4},
         {3, 16, 69, 12}},
        {{0, 0, 74, 4}, {0, 4, 69, 4}, {0, 8, 65, 4}, {0, 12, 69, 4}, {0, 16, 74, 8}, {0, 24, 76, 4},
         {0, 28, 77, 4}, {1, 0, 74, 6}, {1, 6, 70, 2}, {1, 8, 67, 8}, {1, 16, 70, 4}, {1, 20, 69, 4},
         {1, 24, 67, 8}, {2, 0, 65, 6}, {2, 6, 67, 2}, {2, 8, 69, 4}, {2, 12, 70, 4}, {2, 16, 74, 12},
         {2, 28, 72, 4}, {3, 0, 73, 8}, {3, 8, 76, 4}, {3, 12, 69, 4}, {3, 16, 73, 4}, {3, 20, 74, 12}},
        {},
        {{0, 0, 69, 8}, {0, 8, 74, 4}, {0, 12, 72, 4}, {0, 16, 69, 16}, {1, 0, 67, 8}, {1, 8, 72, 4},
         {1, 12, 70, 4}, {1, 16, 67, 16}, {2, 0, 65, 8}, {2, 8, 70, 4}, {2, 12, 69, 4}, {2, 16, 65, 12},
         {2, 28, 64, 4}, {3, 0, 64, 8}, {3, 8, 69, 4}, {3, 12, 73, 4}, {3, 16, 76, 16}},
    };
    return melodies[progression];
}

// Instruments, the bus each plays into and its level in the mix.
enum Instrument { Kick, Snare, Clap, Hat, Crash, Boom, Bass, Acid, Pluck, Bell, Riser, Pad, Lead, Wind, InstrumentCount };
enum Bus { KickBus, DrumBus, BassBus, PadBus, ArpBus, LeadBus, BellBus, FxBus, BusCount };

struct InstrumentInfo {
    std::vector<float> (*mono)(const Voice&);
    Stereo (*stereo)(const Voice&);
    Bus bus;
    float gainDb;
};
const InstrumentInfo kInstruments[InstrumentCount] = {
    {kickVoice, nullptr, KickBus, -7.0f},  {snareVoice, nullptr, DrumBus, -8.0f},
    {clapVoice, nullptr, DrumBus, -9.0f}, {hatVoice, nullptr, DrumBus, -16.0f},
    {crashVoice, nullptr, DrumBus, -14.0f}, {boomVoice, nullptr, FxBus, -6.0f},
    {bassVoice, nullptr, BassBus, -5.0f},  {acidVoice, nullptr, BassBus, -7.0f},
    {pluckVoice, nullptr, ArpBus, -10.0f}, {bellVoice, nullptr, BellBus, -13.0f},
    {riserVoice, nullptr, FxBus, -13.0f},  {nullptr, padVoice, PadBus, -8.0f},
    {nullptr, leadVoice, LeadBus, -7.0f},  {nullptr, windVoice, FxBus, -15.0f},
};

// Sends to the shared reverb and echo, how far the kick ducks the bus, and in how many shards
// its notes render (the long pad chords are the heaviest work).
struct BusInfo {
    const char* name;
    float reverb, delay, duck;
    size_t shards;
};
const BusInfo kBuses[BusCount] = {
    {"kick", 0.0f, 0.0f, 0.0f, 1}, {"drums", 0.10f, 0.0f, 0.0f, 1}, {"bass", 0.0f, 0.0f, 0.8f, 1},
    {"pad", 0.35f, 0.0f, 1.0f, 3}, {"arp", 0.2f, 0.35f, 0.6f, 1},  {"lead", 0.25f, 0.3f, 0.3f, 1},
    {"bell", 0.5f, 0.35f, 0.0f, 1}, {"fx", 0.3f, 0.0f, 0.0f, 1},
};

struct Event {
    double time;
    Voice voice;
    float pan;
};
using Score = std::array<std::vector<Event>, InstrumentCount>;

// Writes the notes of one part into the score.
class PartWriter {
public:
    // `breathSteps`: the rhythm stops that many sixteenths before the part ends, so the next
    // part's first beat lands after a short breath.
    PartWriter(const Part& part, const TempoGrid::Stretch& stretch, int breathSteps, uint64_t seed, Score& score)
        : part_(part), stretch_(stretch), breathSteps_(breathSteps), rng_(seed), score_(score)
    {
    }

    void write()
    {
        const int steps = stretch_.steps();
        for (int s = 0; s < steps; ++s) {
            const Chord& chord = kProgressions[part_.progression][(s / 32) % 4];
            const bool rolling = s >= rhythmEnd() - part_.rollSteps;
            if (s == 0)
                openPart();
            if (s % 32 == 0)
                pad(s, chord);
            bell(s, chord);
            if (part_.riserSteps > 0 && s == std::max(0, steps - part_.riserSteps))
                add(Riser, s, {.length = float((steps - s) * step()), .velocity = 0.6f, .seed = rng_.next()}, 0.0f);
            arp(s, chord);
            if (s >= rhythmEnd())
                continue;
            drums(s, rolling);
            bass(s, chord);
            lead(s);
        }
    }

private:
    double step() const { return stretch_.stepSeconds(); }
    // Held bass and melody notes end with the rhythm, so nothing of them reaches the next part.
    int rhythmEnd() const { return stretch_.steps() - breathSteps_; }
    double timeOf(int s) const { return stretch_.start + s * step(); }
    void add(Instrument instrument, int s, Voice voice, float pan)
    {
        voice.velocity *= part_.level;
        score_[instrument].push_back({timeOf(s), voice, pan});
    }
    float jitter(float amount) { return 1.0f + amount * rng_.bipolar(); }
    // Drum hits pick one of a few recorded variants, as a sampler would.
    uint64_t variant() { return 1 + rng_.next() % 4; }

    void openPart()
    {
        if (part_.impact > 0.0f && part_.crash)
            add(Crash, 0, {.velocity = 0.8f * std::min(1.0f, part_.impact), .brightness = 0.6f, .seed = rng_.next()}, 0.1f);
        if (part_.impact >= 0.5f && part_.boom)
            add(Boom, 0, {.velocity = std::min(1.0f, part_.impact * 0.8f)}, 0.0f);
        if (part_.wind > 0.0f)
            add(Wind, 0, {.length = float(stretch_.end - stretch_.start + 1.0), .velocity = part_.wind,
                          .brightness = 0.3f, .seed = rng_.next()}, 0.0f);
    }

    void drums(int s, bool rolling)
    {
        const int beatStep = s % 16;
        if (rolling) {
            const int k = s - (stretch_.steps() - breathSteps_ - part_.rollSteps);
            const float rise = float(k + 1) / float(part_.rollSteps);
            const bool play = part_.rollSteps <= 8 || k >= part_.rollSteps / 2 || s % 2 == 0;
            if (play)
                add(Snare, s, {.velocity = 0.25f + 0.6f * rise, .brightness = rise, .seed = variant()}, -0.1f);
            return;
        }
        const bool broken = part_.drumPattern == 1;
        const bool kick = broken ? (beatStep == 0 || beatStep == 10 || (s / 16 % 2 == 1 && beatStep == 3))
                                 : beatStep % 4 == 0;
        if (part_.kick > 0.0f && kick)
            add(Kick, s, {.velocity = part_.kick * (beatStep == 0 ? 1.0f : 0.93f), .brightness = 0.6f}, 0.0f);
        const bool backbeat = broken ? beatStep == 8 : (beatStep == 4 || beatStep == 12);
        if (part_.snare > 0.0f && backbeat)
            add(Snare, s, {.velocity = part_.snare * jitter(0.05f), .brightness = 0.5f, .seed = variant()}, -0.05f);
        if (part_.clap > 0.0f && backbeat)
            add(Clap, s, {.velocity = part_.clap * jitter(0.05f), .brightness = 0.5f, .seed = variant()}, 0.05f);
        if (part_.hats <= 0.0f)
            return;
        switch (part_.hatPattern) {
        case 0:
            if (beatStep % 4 == 2)
                add(Hat, s, {.length = 0.12f, .velocity = part_.hats * 0.9f, .brightness = 0.4f, .seed = variant()}, -0.2f);
            else if (beatStep % 2 == 1)
                add(Hat, s, {.length = 0.025f, .velocity = part_.hats * 0.4f * jitter(0.2f), .brightness = 0.7f, .seed = variant()}, 0.3f);
            break;
        case 1: {
            const float accent = beatStep % 4 == 2 ? 1.0f : beatStep % 2 ? 0.5f : 0.7f;
            add(Hat, s, {.length = 0.035f, .velocity = part_.hats * accent * jitter(0.1f), .brightness = 0.6f, .seed = variant()}, 0.25f);
            break;
        }
        default:
            if (beatStep % 2 == 0)
                add(Hat, s, {.length = 0.04f, .velocity = part_.hats * (beatStep % 4 ? 1.0f : 0.6f) * jitter(0.1f), .brightness = 0.5f, .seed = variant()}, 0.2f);
        }
    }

    void bass(int s, const Chord& chord)
    {
        if (part_.bass <= 0.0f)
            return;
        const int beatStep = s % 16;
        const float root = chordTone(chord, 0, 33);
        const float v = part_.bass;
        const float stepLength = float(step());
        switch (part_.bassPattern) {
        case 0:
            if (s % 32 == 0)
                add(Bass, s, {.note = root, .length = stepLength * float(std::min(32, rhythmEnd() - s)) - 0.05f,
                              .velocity = v, .brightness = 0.15f}, 0.0f);
            break;
        case 1:
            if (beatStep % 4 == 2)
                add(Bass, s, {.note = root, .length = stepLength * 1.5f, .velocity = v, .brightness = 0.35f}, 0.0f);
            break;
        case 2:
            if (beatStep % 4 != 0)
                add(Bass, s, {.note = root + (beatStep % 8 == 7 ? 12.0f : 0.0f), .length = stepLength * 0.8f,
                              .velocity = v * (beatStep % 4 == 2 ? 1.0f : 0.75f), .brightness = 0.45f}, 0.0f);
            break;
        case 3: {
            static const int line[16] = {0, -1, 12, 0, 3, -1, 0, 12, 0, 7, -1, 12, 10, 0, -1, 3};
            if (line[beatStep] < 0)
                break;
            const bool accent = beatStep % 4 == 2;
            const float sweep = float(s) / float(stretch_.steps());
            add(Acid, s, {.note = root + float(line[beatStep]), .length = stepLength * (accent ? 0.9f : 0.55f),
                          .velocity = v * (accent ? 1.0f : 0.8f), .brightness = 0.2f + 0.6f * sweep + (accent ? 0.15f : 0.0f)}, 0.0f);
            break;
        }
        default: {
            static const int hits[5][2] = {{0, 3}, {3, 2}, {6, 2}, {10, 4}, {14, 2}};
            for (const auto& h : hits)
                if (h[0] == beatStep)
                    add(Bass, s, {.note = root + (beatStep == 6 ? 12.0f : 0.0f), .length = stepLength * float(h[1]) * 0.9f,
                                  .velocity = v, .brightness = 0.7f}, 0.0f);
        }
        }
    }

    void pad(int s, const Chord& chord)
    {
        if (part_.pad <= 0.0f)
            return;
        // A chord that ends the part lets go with the rhythm, so its release overlaps the next
        // part's opening chord instead of covering it.
        const float length = float(step()) * float(std::min(32, rhythmEnd() - s)) - 0.05f;
        static const float pans[4] = {-0.45f, 0.45f, -0.15f, 0.15f};
        for (int k = 0; k < 4; ++k)
            add(Pad, s, {.note = chordTone(chord, k, 50), .length = length, .velocity = part_.pad * 0.8f,
                         .brightness = part_.padBright, .seed = uint64_t(k + 1)}, pans[k]);
    }

    void arp(int s, const Chord& chord)
    {
        if (part_.arp <= 0.0f)
            return;
        static const int order[8] = {0, 1, 2, 3, 4, 3, 2, 1};
        const int k = order[s % 8];
        const bool high = part_.arpBright > 0.8f && (s / 16) % 2 == 1;
        const float note = chordTone(chord, k, 62) + (k == 4 ? 12.0f : 0.0f) + (high ? 12.0f : 0.0f);
        add(Pluck, s, {.note = note, .length = 0.15f, .velocity = part_.arp * (s % 4 == 0 ? 1.0f : 0.7f),
                       .brightness = part_.arpBright}, s % 2 ? 0.35f : -0.35f);
    }

    void lead(int s)
    {
        if (part_.lead <= 0.0f)
            return;
        const int chord = (s / 32) % 4, phraseStep = s % 32;
        for (const MelodyNote& m : melody(part_.progression))
            if (m.chord == chord && m.step == phraseStep) {
                const int steps = std::min(m.steps, rhythmEnd() - s);
                add(Lead, s, {.note = float(m.note), .length = float(step()) * float(steps) * 0.92f,
                              .velocity = part_.lead, .brightness = part_.leadBright}, 0.0f);
            }
    }

    void bell(int s, const Chord& chord)
    {
        if (part_.bell <= 0.0f)
            return;
        static const int motif[5][2] = {{0, 0}, {6, 2}, {12, 1}, {20, 3}, {26, 2}};
        for (int i = 0; i < 5; ++i)
            if (motif[i][0] == s % 32)
                add(Bell, s, {.note = chordTone(chord, motif[i][1], 74), .velocity = part_.bell,
                              .brightness = 0.5f}, i % 2 ? 0.4f : -0.4f);
    }

    const Part& part_;
    const TempoGrid::Stretch& stretch_;
    int breathSteps_;
    Rng rng_;
    Score& score_;
};

// Per-frame gain of the side-chain: each kick pulls the ducked buses down and lets them swell
// back, by the depth its part asks for.
std::vector<float> duckCurve(const std::vector<Event>& kicks, const std::vector<Part>& sheet, size_t frames)
{
    std::vector<float> curve(frames, 1.0f);
    for (const Event& e : kicks) {
        double depth = 0.0;
        for (const Part& p : sheet)
            if (p.start <= e.time + 1e-6)
                depth = p.duck;
        const size_t from = static_cast<size_t>(std::llround(e.time * kRate));
        for (size_t i = from; i < std::min(frames, from + size_t(0.45 * kRate)); ++i) {
            const float t = float(i - from) / kRate;
            const float shape = t < 0.006f ? t / 0.006f : std::exp(-(t - 0.006f) / 0.11f);
            curve[i] = std::min(curve[i], 1.0f - float(depth) * shape);
        }
    }
    return curve;
}

// Renders one shard (every shardCount-th note) of one bus. Voices are linear in velocity, so each
// distinct sound is rendered once at full velocity and reused, scaled, wherever it repeats.
Stereo renderBus(Bus bus, const Score& score, size_t frames, size_t shard, size_t shardCount)
{
    Stereo out(frames);
    for (int i = 0; i < InstrumentCount; ++i) {
        const InstrumentInfo& info = kInstruments[i];
        if (info.bus != bus)
            continue;
        using Key = std::tuple<float, float, float, uint64_t>;
        std::map<Key, std::vector<float>> monoCache;
        std::map<Key, Stereo> stereoCache;
        const float gain = dbToGain(info.gainDb);
        const std::vector<Event>& events = score[size_t(i)];
        for (size_t n = shard; n < events.size(); n += shardCount) {
            const Event& e = events[n];
            const size_t at = static_cast<size_t>(std::llround(e.time * kRate));
            if (at >= frames)
                continue;
            Voice unit = e.voice;
            unit.velocity = 1.0f;
            const Key key{unit.note, unit.length, unit.brightness, unit.seed};
            const float level = gain * e.voice.velocity;
            if (info.mono) {
                auto found = monoCache.find(key);
                if (found == monoCache.end())
                    found = monoCache.emplace(key, info.mono(unit)).first;
                out.addMono(at, found->second, level, e.pan);
            } else {
                auto found = stereoCache.find(key);
                if (found == stereoCache.end())
                    found = stereoCache.emplace(key, info.stereo(unit)).first;
                // Stereo voices are placed by narrowing the far side.
                const float l = std::min(1.0f, 1.0f - e.pan), r = std::min(1.0f, 1.0f + e.pan);
                const Stereo& voice = found->second;
                const size_t n = std::min(voice.frames(), frames - at);
                for (size_t k = 0; k < n; ++k) {
                    out.left[at + k] += level * l * voice.left[k];
                    out.right[at + k] += level * r * voice.right[k];
                }
            }
        }
    }
    return out;
}

// All buses, each rendered in shards on parallel threads and summed in a fixed order afterwards,
// so the result does not depend on which thread finished first; then the side-chain ducking.
std::vector<Stereo> renderBuses(const Score& score, const std::vector<float>& duck, size_t frames)
{
    struct Task {
        Bus bus;
        size_t shard, shards;
    };
    std::vector<Task> tasks;
    for (int b = 0; b < BusCount; ++b)
        for (size_t k = 0; k < kBuses[b].shards; ++k)
            tasks.push_back({Bus(b), k, kBuses[b].shards});
    std::vector<Stereo> pieces(tasks.size());
    std::atomic<size_t> next{0};
    auto worker = [&]() {
        for (size_t i = next++; i < tasks.size(); i = next++)
            pieces[i] = renderBus(tasks[i].bus, score, frames, tasks[i].shard, tasks[i].shards);
    };
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t)
        pool.emplace_back(worker);
    for (std::thread& t : pool)
        t.join();
    std::vector<Stereo> buses(BusCount);
    for (size_t i = 0; i < tasks.size(); ++i) {
        const size_t b = size_t(tasks[i].bus);
        if (tasks[i].shard == 0)
            buses[b] = std::move(pieces[i]);
        else
            buses[b].add(0, pieces[i], 1.0f);
        pieces[i] = Stereo();
    }
    for (size_t b = 0; b < BusCount; ++b) {
        const float depth = kBuses[b].duck;
        if (depth > 0.0f)
            for (size_t i = 0; i < frames; ++i) {
                const float g = 1.0f - depth * (1.0f - duck[i]);
                buses[b].left[i] *= g;
                buses[b].right[i] *= g;
            }
    }
    return buses;
}

void say(bool on, const char* format, double a = 0, double b = 0, double c = 0)
{
    if (!on)
        return;
    std::printf(format, a, b, c);
    std::fflush(stdout);
}

loudness::Planar view(const Stereo& s)
{
    return {{s.left.data(), s.right.data()}, s.frames(), kRate};
}

// The master bus: low pass automation, DC blocking and the closing fade.
void masterBus(Stereo& mix, const std::vector<Part>& sheet, bool fullLength)
{
    Svf lowL, lowR;
    size_t part = 0;
    OnePole dcL, dcR;
    dcL.set(18.0f);
    dcR.set(18.0f);
    // The encoder drops everything above about 16 kHz; doing it here first means the loudness
    // and peaks measured below are those of the file.
    Svf topL, topR;
    topL.set(16000.0f, 0.29f);
    topR.set(16000.0f, 0.29f);
    for (size_t i = 0; i < mix.frames(); ++i) {
        const double t = double(i) / kRate;
        while (part + 1 < sheet.size() && sheet[part + 1].start <= t)
            ++part;
        const float cutoff = sheet[part].cutoff;
        float l = mix.left[i], r = mix.right[i];
        if (cutoff < 18000.0f) {
            if ((i & 31) == 0) {
                const float wobble = 1.0f + 0.25f * std::sin(float(2.0 * kPi * 0.5 * t));
                lowL.set(cutoff * wobble, 0.45f);
                lowR.set(cutoff * wobble, 0.45f);
            }
            lowL.process(l);
            lowR.process(r);
            l = lowL.low;
            r = lowR.low;
        }
        topL.process(l);
        topR.process(r);
        l = topL.low - dcL.process(topL.low);
        r = topR.low - dcR.process(topR.low);
        if (fullLength) {
            const double fadeStart = kSoundEnd - 1.2;
            if (t >= kSoundEnd) {
                l = r = 0.0f;
            } else if (t > fadeStart) {
                const float g = float(0.5 + 0.5 * std::cos(kPi * (t - fadeStart) / (kSoundEnd - fadeStart)));
                l *= g;
                r *= g;
            }
        }
        mix.left[i] = l;
        mix.right[i] = r;
    }
}

// The level change of a trip through the encoder and back (LAME's own decoder): a 1 kHz tone's
// energy after against before, in dB. The file is mastered for what comes out of it.
double codecGainDb()
{
    Stereo tone(kRate * 2);
    for (size_t i = 0; i < tone.frames(); ++i)
        tone.left[i] = tone.right[i] = 0.1f * std::sin(float(2.0 * kPi * 1000.0 * double(i) / kRate));
    std::string error;
    std::vector<unsigned char> mp3 = encodeMp3(tone, kBitRate, false, error);
    hip_t decoder = hip_decode_init();
    if (!decoder || mp3.empty())
        return 0.0;
    std::vector<short> left(kRate * 4), right(kRate * 4);
    double energy = 0.0;
    size_t count = 0;
    for (size_t at = 0; at < mp3.size(); at += 4096) {
        const int got = hip_decode(decoder, mp3.data() + at, std::min<size_t>(4096, mp3.size() - at), left.data(), right.data());
        // Skip the first and last half second: encoder delay and padding.
        for (int i = 0; i < got; ++i, ++count)
            if (count > kRate / 2 && count < size_t(kRate) * 3 / 2)
                energy += double(left[size_t(i)]) * left[size_t(i)] / (32768.0 * 32768.0);
    }
    hip_decode_exit(decoder);
    const double expected = 0.1 * 0.1 / 2.0 * kRate;
    return energy > 0.0 ? 10.0 * std::log10(energy / expected) : 0.0;
}

// Gain to the target loudness, then the limiter; repeated until both loudness and true peak
// sit where they should (limiting lowers the loudness a little, so the gain is corrected).
void master(Stereo& mix, RenderResult& result, bool progress)
{
    // Targets before encoding, so that the decoded file meets them.
    const double codec = codecGainDb();
    const double target = kTargetLoudness - codec;
    const float ceiling = kPeakCeiling - float(codec);
    say(progress, "music: encoder gain %+.2f dB\n", codec);
    const Stereo unlimited = mix;
    double gainDb = target - loudness::integrated(view(mix));
    float ceilingDb = ceiling - 0.3f;
    for (int pass = 0; pass < 4; ++pass) {
        mix = unlimited;
        const float g = dbToGain(float(gainDb));
        for (size_t i = 0; i < mix.frames(); ++i) {
            mix.left[i] *= g;
            mix.right[i] *= g;
        }
        Limiter(dbToGain(ceilingDb), 0.004f, 0.12f).process(mix);
        const double loud = loudness::integrated(view(mix));
        const double peak = loudness::toDb(loudness::truePeak(view(mix)));
        result.loudness = loud + codec;
        result.truePeakDb = peak + codec;
        say(progress, "music: master pass %.0f: %.2f LUFS, true peak %.2f dBTP (as encoded)\n", pass + 1,
            result.loudness, result.truePeakDb);
        const bool loudOk = std::fabs(loud - target) < 0.1;
        const bool peakOk = peak <= ceiling;
        if (loudOk && peakOk)
            break;
        gainDb += target - loud;
        if (!peakOk)
            ceilingDb -= float(peak - ceiling) + 0.05f;
    }
}

} // namespace

std::vector<double> partStarts()
{
    std::vector<double> starts;
    for (const Part& p : parts())
        starts.push_back(p.start);
    return starts;
}

RenderResult render(const RenderOptions& options)
{
    const auto started = std::chrono::steady_clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(); };
    const std::vector<Part>& sheet = parts();
    const TempoGrid grid(partStarts(), kSoundEnd, kTempo);

    Score score;
    for (size_t i = 0; i < sheet.size(); ++i) {
        // Before a part that opens with an impact, the rhythm takes a breath.
        const int breath = i + 1 < sheet.size() && sheet[i + 1].impact >= 0.6f ? sheet[i + 1].breakSteps : 0;
        PartWriter(sheet[i], grid.stretches()[i], breath, options.seed * 0x9E3779B97F4A7C15ull + i, score).write();
    }
    RenderResult result;
    for (const auto& events : score)
        result.notes += events.size();
    say(options.progress, "music: %.0f parts, %.0f notes\n", double(sheet.size()), double(result.notes));

    const size_t frames = static_cast<size_t>(std::min(options.seconds, kLength) * kRate);
    const std::vector<float> duck = duckCurve(score[Kick], sheet, frames);

    std::vector<Stereo> buses = renderBuses(score, duck, frames);
    say(options.progress, "music: voices rendered (%.1f s)\n", elapsed());

    Stereo mix(frames), reverbSend(frames), delaySend(frames);
    for (int b = 0; b < BusCount; ++b) {
        mix.add(0, buses[size_t(b)], 1.0f);
        reverbSend.add(0, buses[size_t(b)], kBuses[b].reverb);
        delaySend.add(0, buses[size_t(b)], kBuses[b].delay);
        buses[size_t(b)] = Stereo();
    }
    const double beat = 60.0 / kTempo;
    StereoDelay(float(beat * 0.75), 0.45f, 0.35f).process(delaySend);
    reverbSend.add(0, delaySend, 0.3f);
    mix.add(0, delaySend, 0.5f);
    Reverb(0.86f, 0.35f, 1.0f).process(reverbSend);
    mix.add(0, reverbSend, 0.9f);
    masterBus(mix, sheet, options.seconds >= kLength);
    say(options.progress, "music: mixed (%.1f s)\n", elapsed());

    master(mix, result, options.progress);
    result.audio = std::move(mix);
    return result;
}

std::vector<unsigned char> encodeMp3(const Stereo& audio, int kbps, bool progress, std::string& error)
{
    std::vector<unsigned char> out;
    lame_global_flags* lame = lame_init();
    if (!lame) {
        error = "cannot start the MP3 encoder";
        return out;
    }
    lame_set_in_samplerate(lame, kRate);
    lame_set_out_samplerate(lame, kRate);
    lame_set_num_channels(lame, 2);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_brate(lame, kbps);
    lame_set_VBR(lame, vbr_off);
    lame_set_quality(lame, 7);
    lame_set_bWriteVbrTag(lame, 1); // the tag frame tells decoders the encoder delay and padding
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        error = "the MP3 encoder rejects its settings";
        return out;
    }
    const size_t chunk = kRate; // one second at a time
    std::vector<unsigned char> buffer(chunk * 5 / 4 + 7200);
    int lastReported = -1;
    for (size_t at = 0; at < audio.frames(); at += chunk) {
        const int n = static_cast<int>(std::min(chunk, audio.frames() - at));
        const int got = lame_encode_buffer_ieee_float(lame, audio.left.data() + at, audio.right.data() + at, n,
                                                      buffer.data(), static_cast<int>(buffer.size()));
        if (got < 0) {
            lame_close(lame);
            error = "MP3 encoding failed";
            return {};
        }
        out.insert(out.end(), buffer.begin(), buffer.begin() + got);
        const int percent = static_cast<int>(100 * (at + size_t(n)) / audio.frames());
        if (progress && percent / 25 != lastReported) {
            lastReported = percent / 25;
            say(true, "music: encoding %.0f%%\n", percent);
        }
    }
    const int tail = lame_encode_flush(lame, buffer.data(), static_cast<int>(buffer.size()));
    if (tail > 0)
        out.insert(out.end(), buffer.begin(), buffer.begin() + tail);
    // Replace the placeholder first frame with the finished tag (lengths, delay, padding).
    const size_t tagSize = lame_get_lametag_frame(lame, buffer.data(), buffer.size());
    if (tagSize > 0 && tagSize <= out.size())
        std::copy(buffer.begin(), buffer.begin() + long(tagSize), out.begin());
    lame_close(lame);
    return out;
}

bool writeMusic(const std::string& outDir, const RenderOptions& options, std::string& error)
{
    const auto started = std::chrono::steady_clock::now();
    const RenderResult result = render(options);
    const std::vector<unsigned char> bytes = encodeMp3(result.audio, options.bitRate, options.progress, error);
    if (bytes.empty()) {
        if (error.empty())
            error = "the MP3 encoder produced nothing";
        return false;
    }
    const std::filesystem::path path = std::filesystem::path(outDir) / kMusicFile;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    file.close();
    if (!file) {
        error = "cannot write " + path.string();
        return false;
    }
    if (options.progress)
        std::printf("music: wrote %s (%zu bytes, %.1f s of audio, %.2f LUFS, %.2f dBTP) in %.1f s\n",
                    path.string().c_str(), bytes.size(), double(result.audio.frames()) / kRate, result.loudness,
                    result.truePeakDb,
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    return true;
}

} // namespace music
