// The generator's synthesiser: oscillators, noise, envelopes, filters, voices, effects and a limiter.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace synth {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// The only source of chance in the generator: a seeded splitmix64 sequence, so every build
// produces the same samples.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next();
    float uniform() { return float(next() >> 40) * (1.0f / 16777216.0f); } // [0, 1)
    float bipolar() { return uniform() * 2.0f - 1.0f; }                     // [-1, 1)

private:
    uint64_t state_;
};

// Frequency of a MIDI note number (69 = A4 = 440 Hz).
float noteHz(float note);
float dbToGain(float db);

// Phase-accumulating oscillator with polyBLEP-corrected saw and pulse shapes.
class Oscillator {
public:
    void setFrequency(float hz) { step_ = hz / kRate; }
    void setPhase(float phase) { phase_ = phase; }
    float saw();
    float pulse(float width);
    float sine();
    float triangle();

private:
    void advance();
    float phase_ = 0.0f;
    float step_ = 0.0f;
};

// Attack, decay, sustain, release; `at(t, gate)` gives the level t seconds after note-on for a
// note held `gate` seconds.
struct Adsr {
    float attack = 0.005f, decay = 0.1f, sustain = 1.0f, release = 0.1f;
    float at(float t, float gate) const;
    float length(float gate) const { return gate + release; }
};

// Zero-delay-feedback state-variable filter: low, band and high pass from one update.
class Svf {
public:
    // resonance 0 (none) to just below 1 (self-oscillation).
    void set(float cutoffHz, float resonance);
    void process(float in);
    float low = 0.0f, band = 0.0f, high = 0.0f;

private:
    float g_ = 0.0f, k_ = 2.0f, a1_ = 0.0f, a2_ = 0.0f, a3_ = 0.0f;
    float s1_ = 0.0f, s2_ = 0.0f;
};

// One-pole low pass, for smoothing and gentle tone shaping.
class OnePole {
public:
    void set(float cutoffHz);
    float process(float in) { state_ += coefficient_ * (in - state_); return state_; }

private:
    float coefficient_ = 1.0f;
    float state_ = 0.0f;
};

// A stereo sample buffer (two planes), the unit every voice and bus renders into.
struct Stereo {
    std::vector<float> left, right;
    Stereo() = default;
    explicit Stereo(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    size_t frames() const { return left.size(); }
    // Adds a mono signal from frame `at` on, panned with equal power (-1 left .. 1 right).
    void addMono(size_t at, const std::vector<float>& mono, float gain, float pan);
    // Adds `other` times `gain` from frame `at` on, as far as this buffer reaches.
    void add(size_t at, const Stereo& other, float gain);
};

// Parameters a voice is rendered with: one note of an instrument.
struct Voice {
    float note = 60.0f;     // MIDI note number
    float length = 0.25f;   // held seconds
    float velocity = 1.0f;  // 0..1
    float brightness = 0.5f; // 0..1: filter opening, tone, pitch sweep
    uint64_t seed = 1;      // for voices with noise
};

// Mono voice renderers: each returns the whole sound of one note, tail included.
std::vector<float> kickVoice(const Voice& v);
std::vector<float> snareVoice(const Voice& v);
std::vector<float> clapVoice(const Voice& v);
std::vector<float> hatVoice(const Voice& v);      // length sets closed (short) or open
std::vector<float> crashVoice(const Voice& v);
std::vector<float> boomVoice(const Voice& v);     // sub drop for impacts
std::vector<float> bassVoice(const Voice& v);     // saw plus sub, resonant low pass
std::vector<float> acidVoice(const Voice& v);     // squelchy resonant saw
std::vector<float> pluckVoice(const Voice& v);    // short filtered saw for arpeggios
std::vector<float> bellVoice(const Voice& v);     // two-operator FM bell
std::vector<float> riserVoice(const Voice& v);    // noise sweep that peaks at its end
// Detuned saw stack with a slow filter; stereo, so it returns left then right halves.
Stereo padVoice(const Voice& v);
Stereo leadVoice(const Voice& v);
// A bed of slowly moving filtered noise, stereo.
Stereo windVoice(const Voice& v);

// Ping-pong echo with a darkening feedback path.
class StereoDelay {
public:
    StereoDelay(float seconds, float feedback, float damping);
    void process(Stereo& buffer) const; // in place: dry input replaced by the wet echo only

private:
    size_t delay_;
    float feedback_, damping_;
};

// Schroeder-Moorer reverb: eight damped combs and four all-passes per side.
class Reverb {
public:
    Reverb(float roomSize, float damping, float width);
    void process(Stereo& buffer) const; // in place: wet signal only

private:
    float feedback_, damping_, width_;
};

// Look-ahead peak limiter with linked stereo gain: no sample leaves above `ceiling`.
class Limiter {
public:
    Limiter(float ceiling, float lookaheadSeconds, float releaseSeconds);
    void process(Stereo& buffer) const;

private:
    float ceiling_;
    size_t lookahead_;
    float release_;
};

} // namespace synth
