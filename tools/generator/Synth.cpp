#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace synth {

uint64_t Rng::next()
{
    state_ += 0x9E3779B97F4A7C15ull;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

float noteHz(float note) { return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f); }
float dbToGain(float db) { return std::pow(10.0f, db / 20.0f); }

namespace {

size_t framesFor(float seconds) { return static_cast<size_t>(std::max(0.0f, seconds) * kRate) + 1; }
float timeOf(size_t frame) { return float(frame) / kRate; }

// Correction that rounds off a step discontinuity crossing phase 0 (t in [0, 1), dt the step).
float polyBlep(float t, float dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

// Gentle saturation that keeps small signals linear.
float soften(float x) { return std::tanh(x); }

// The metallic partials of a cymbal: detuned square waves at inharmonic ratios.
class Metal {
public:
    explicit Metal(float base)
    {
        static const float ratios[6] = {1.0f, 1.4827f, 1.8003f, 2.5462f, 2.6303f, 3.8968f};
        for (int i = 0; i < 6; ++i)
            oscillators_[i].setFrequency(base * ratios[i]);
    }
    float next()
    {
        float sum = 0.0f;
        for (Oscillator& o : oscillators_)
            sum += o.pulse(0.5f);
        return sum / 6.0f;
    }

private:
    Oscillator oscillators_[6];
};

// Renders `frames` samples through a lambda of the elapsed time in seconds.
template <typename F>
std::vector<float> render(size_t frames, F&& sample)
{
    std::vector<float> out(frames);
    for (size_t i = 0; i < frames; ++i)
        out[i] = sample(i, timeOf(i));
    return out;
}

// Short fade at both ends so no voice starts or stops with a click.
void declick(std::vector<float>& s, size_t ramp = 64)
{
    const size_t n = std::min(ramp, s.size() / 2);
    for (size_t i = 0; i < n; ++i) {
        const float g = float(i) / float(n);
        s[s.size() - 1 - i] *= g;
    }
}

} // namespace

void Oscillator::advance()
{
    phase_ += step_;
    if (phase_ >= 1.0f)
        phase_ -= 1.0f;
}

float Oscillator::saw()
{
    const float value = 2.0f * phase_ - 1.0f - polyBlep(phase_, step_);
    advance();
    return value;
}

float Oscillator::pulse(float width)
{
    float shifted = phase_ + (1.0f - width);
    if (shifted >= 1.0f)
        shifted -= 1.0f;
    const float value = (phase_ < width ? 1.0f : -1.0f) + polyBlep(phase_, step_) - polyBlep(shifted, step_);
    advance();
    return value;
}

float Oscillator::sine()
{
    const float value = std::sin(float(2.0 * kPi) * phase_);
    advance();
    return value;
}

float Oscillator::triangle()
{
    const float value = 4.0f * std::fabs(phase_ - 0.5f) - 1.0f;
    advance();
    return value;
}

float Adsr::at(float t, float gate) const
{
    auto held = [this](float u) {
        if (u < attack)
            return u / attack;
        u -= attack;
        if (u < decay)
            return 1.0f - (1.0f - sustain) * (u / decay);
        return sustain;
    };
    if (t < gate)
        return held(t);
    const float from = held(gate);
    const float r = (t - gate) / release;
    return r >= 1.0f ? 0.0f : from * (1.0f - r) * (1.0f - r);
}

void Svf::set(float cutoffHz, float resonance)
{
    cutoffHz = std::clamp(cutoffHz, 10.0f, kRate * 0.45f);
    g_ = std::tan(float(kPi) * cutoffHz / kRate);
    k_ = 2.0f - 2.0f * std::clamp(resonance, 0.0f, 0.98f);
    a1_ = 1.0f / (1.0f + g_ * (g_ + k_));
    a2_ = g_ * a1_;
    a3_ = g_ * a2_;
}

void Svf::process(float in)
{
    const float v3 = in - s2_;
    const float v1 = a1_ * s1_ + a2_ * v3;
    const float v2 = s2_ + a2_ * s1_ + a3_ * v3;
    s1_ = 2.0f * v1 - s1_;
    s2_ = 2.0f * v2 - s2_;
    low = v2;
    band = v1;
    high = in - k_ * v1 - v2;
}

void OnePole::set(float cutoffHz)
{
    coefficient_ = 1.0f - std::exp(float(-2.0 * kPi) * cutoffHz / kRate);
}

void Stereo::addMono(size_t at, const std::vector<float>& mono, float gain, float pan)
{
    const float angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * float(kPi / 4.0);
    const float gl = gain * std::cos(angle) * float(M_SQRT2);
    const float gr = gain * std::sin(angle) * float(M_SQRT2);
    const size_t n = at < frames() ? std::min(mono.size(), frames() - at) : 0;
    for (size_t i = 0; i < n; ++i) {
        left[at + i] += gl * mono[i];
        right[at + i] += gr * mono[i];
    }
}

void Stereo::add(size_t at, const Stereo& other, float gain)
{
    const size_t n = at < frames() ? std::min(other.frames(), frames() - at) : 0;
    for (size_t i = 0; i < n; ++i) {
        left[at + i] += gain * other.left[i];
        right[at + i] += gain * other.right[i];
    }
}

std::vector<float> kickVoice(const Voice& v)
{
    Oscillator body;
    const float top = 90.0f + 140.0f * v.brightness;
    auto out = render(framesFor(0.5f), [&](size_t, float t) {
        body.setFrequency(44.0f + top * std::exp(-t / 0.035f));
        const float amp = std::exp(-t / 0.28f) * std::min(1.0f, t / 0.0015f);
        const float click = std::exp(-t / 0.004f) * 0.4f * v.brightness;
        return soften(1.6f * (body.sine() * amp + click)) * v.velocity;
    });
    declick(out, 400);
    return out;
}

std::vector<float> snareVoice(const Voice& v)
{
    Rng rng(v.seed);
    Oscillator tone1, tone2;
    tone1.setFrequency(185.0f);
    tone2.setFrequency(330.0f);
    Svf noise;
    noise.set(1800.0f + 2500.0f * v.brightness, 0.2f);
    auto out = render(framesFor(0.35f), [&](size_t, float t) {
        noise.process(rng.bipolar());
        const float body = (tone1.sine() + 0.5f * tone2.sine()) * std::exp(-t / 0.06f);
        const float rattle = (noise.high * 0.6f + noise.band) * std::exp(-t / 0.12f);
        return (0.6f * body + rattle) * v.velocity;
    });
    declick(out);
    return out;
}

std::vector<float> clapVoice(const Voice& v)
{
    Rng rng(v.seed);
    Svf band;
    band.set(1300.0f + 600.0f * v.brightness, 0.45f);
    auto out = render(framesFor(0.4f), [&](size_t, float t) {
        band.process(rng.bipolar());
        float amp = std::exp(-std::max(0.0f, t - 0.022f) / 0.14f);
        for (float burst : {0.0f, 0.009f, 0.017f})
            if (t >= burst && t < 0.022f)
                amp = std::max(amp, std::exp(-(t - burst) / 0.006f));
        return band.band * amp * 2.2f * v.velocity;
    });
    declick(out);
    return out;
}

std::vector<float> hatVoice(const Voice& v)
{
    Rng rng(v.seed);
    Metal metal(360.0f + 80.0f * v.brightness);
    Svf high;
    high.set(7000.0f + 2000.0f * v.brightness, 0.1f);
    const float decay = std::max(0.015f, v.length);
    auto out = render(framesFor(decay * 5.0f), [&](size_t, float t) {
        high.process(0.6f * rng.bipolar() + 0.5f * metal.next());
        return high.high * std::exp(-t / decay) * std::min(1.0f, t / 0.0008f) * v.velocity;
    });
    declick(out);
    return out;
}

std::vector<float> crashVoice(const Voice& v)
{
    Rng rng(v.seed);
    Metal metal(420.0f);
    Svf high;
    high.set(3500.0f + 2000.0f * v.brightness, 0.05f);
    auto out = render(framesFor(3.0f), [&](size_t, float t) {
        high.process(0.7f * rng.bipolar() + 0.4f * metal.next());
        const float amp = 0.4f * std::exp(-t / 0.06f) + 0.6f * std::exp(-t / 0.9f);
        return high.high * amp * std::min(1.0f, t / 0.002f) * v.velocity;
    });
    declick(out, 4000);
    return out;
}

std::vector<float> boomVoice(const Voice& v)
{
    Oscillator body;
    auto out = render(framesFor(2.5f), [&](size_t, float t) {
        body.setFrequency(34.0f + 50.0f * std::exp(-t / 0.18f));
        const float amp = std::exp(-t / 0.7f) * std::min(1.0f, t / 0.004f);
        return soften(2.0f * body.sine() * amp) * v.velocity;
    });
    declick(out, 4000);
    return out;
}

std::vector<float> bassVoice(const Voice& v)
{
    Oscillator saw, sub;
    const float hz = noteHz(v.note);
    saw.setFrequency(hz);
    sub.setFrequency(hz * 0.5f);
    Svf filter;
    const Adsr amp{0.004f, 0.25f, 0.75f, 0.06f};
    auto out = render(framesFor(amp.length(v.length)), [&](size_t i, float t) {
        if ((i & 15) == 0)
            filter.set(90.0f + hz + 1400.0f * v.brightness * std::exp(-t / 0.09f), 0.35f);
        filter.process(saw.saw());
        return (0.7f * filter.low + 0.65f * sub.sine()) * amp.at(t, v.length) * v.velocity;
    });
    declick(out);
    return out;
}

std::vector<float> acidVoice(const Voice& v)
{
    Oscillator saw;
    const float hz = noteHz(v.note);
    saw.setFrequency(hz);
    Svf filter;
    const Adsr amp{0.003f, 0.15f, 0.6f, 0.04f};
    auto out = render(framesFor(amp.length(v.length)), [&](size_t i, float t) {
        if ((i & 7) == 0)
            filter.set(hz + 150.0f + 3200.0f * v.brightness * std::exp(-t / 0.11f), 0.86f);
        filter.process(saw.saw());
        return soften(2.2f * filter.low) * 0.6f * amp.at(t, v.length) * v.velocity;
    });
    declick(out);
    return out;
}

std::vector<float> pluckVoice(const Voice& v)
{
    Oscillator a, b;
    const float hz = noteHz(v.note);
    a.setFrequency(hz);
    b.setFrequency(hz * 1.004f);
    Svf filter;
    const float decay = 0.12f + 0.5f * v.length;
    auto out = render(framesFor(decay * 4.0f), [&](size_t i, float t) {
        if ((i & 15) == 0)
            filter.set(hz + 300.0f + 5000.0f * v.brightness * std::exp(-t / 0.07f), 0.3f);
        filter.process(0.6f * a.saw() + 0.5f * b.pulse(0.3f));
        return filter.low * std::exp(-t / decay) * std::min(1.0f, t / 0.002f) * v.velocity;
    });
    declick(out);
    return out;
}

std::vector<float> bellVoice(const Voice& v)
{
    Oscillator modulator, shimmer;
    const float hz = noteHz(v.note);
    modulator.setFrequency(hz * 3.5f);
    shimmer.setFrequency(hz * 2.01f);
    float phase = 0.0f;
    auto out = render(framesFor(3.5f), [&](size_t, float t) {
        const float index = (0.6f + 2.4f * v.brightness) * std::exp(-t / 0.5f);
        const float mod = modulator.sine() * index;
        phase += hz / kRate;
        phase -= std::floor(phase);
        const float body = std::sin(float(2.0 * kPi) * phase + mod);
        const float amp = std::exp(-t / 1.1f) * std::min(1.0f, t / 0.002f);
        return (body + 0.25f * shimmer.sine() * std::exp(-t / 0.4f)) * amp * v.velocity;
    });
    declick(out, 4000);
    return out;
}

std::vector<float> riserVoice(const Voice& v)
{
    Rng rng(v.seed);
    Svf band;
    const float length = std::max(0.05f, v.length);
    auto out = render(framesFor(length), [&](size_t i, float t) {
        const float x = std::min(1.0f, t / length);
        if ((i & 15) == 0)
            band.set(250.0f * std::pow(40.0f, x), 0.55f);
        band.process(rng.bipolar());
        return (band.band * 0.8f + band.high * 0.2f) * x * x * v.velocity;
    });
    declick(out, 32);
    return out;
}

Stereo padVoice(const Voice& v)
{
    Rng rng(v.seed);
    const float hz = noteHz(v.note);
    Oscillator saws[3];
    const float detune[3] = {-0.0045f, 0.0f, 0.0052f};
    for (int k = 0; k < 3; ++k) {
        saws[k].setFrequency(hz * (1.0f + detune[k]));
        saws[k].setPhase(rng.uniform());
    }
    Svf lowL, lowR;
    const Adsr amp{0.35f, 0.6f, 0.8f, 0.8f};
    const size_t frames = framesFor(amp.length(v.length));
    Stereo out(frames);
    const float lfoRate = 0.15f + 0.1f * rng.uniform();
    for (size_t i = 0; i < frames; ++i) {
        const float t = timeOf(i);
        if ((i & 31) == 0) {
            const float cutoff = 250.0f + hz + 2600.0f * v.brightness *
                                 (0.75f + 0.25f * std::sin(float(2.0 * kPi) * lfoRate * t));
            lowL.set(cutoff, 0.15f);
            lowR.set(cutoff * 1.07f, 0.15f);
        }
        const float a = saws[0].saw(), b = saws[1].saw(), c = saws[2].saw();
        lowL.process(a + 0.6f * b);
        lowR.process(c + 0.6f * b);
        const float level = amp.at(t, v.length) * v.velocity * 0.5f;
        out.left[i] = lowL.low * level;
        out.right[i] = lowR.low * level;
    }
    declick(out.left);
    declick(out.right);
    return out;
}

Stereo leadVoice(const Voice& v)
{
    const float hz = noteHz(v.note);
    Oscillator a, b, vibrato;
    vibrato.setFrequency(5.2f);
    Svf filterL, filterR;
    const Adsr amp{0.012f, 0.3f, 0.7f, 0.3f};
    const size_t frames = framesFor(amp.length(v.length));
    Stereo out(frames);
    for (size_t i = 0; i < frames; ++i) {
        const float t = timeOf(i);
        const float depth = 0.006f * std::min(1.0f, std::max(0.0f, t - 0.25f) / 0.4f);
        const float wobble = 1.0f + depth * vibrato.sine();
        a.setFrequency(hz * 0.997f * wobble);
        b.setFrequency(hz * 1.003f * wobble);
        if ((i & 15) == 0) {
            const float cutoff = hz * 2.0f + 2800.0f * v.brightness * (0.4f + 0.6f * std::exp(-t / 0.25f));
            filterL.set(cutoff, 0.25f);
            filterR.set(cutoff, 0.25f);
        }
        const float sa = a.saw(), sb = b.pulse(0.42f);
        filterL.process(sa + 0.4f * sb);
        filterR.process(sb + 0.4f * sa);
        const float level = amp.at(t, v.length) * v.velocity * 0.45f;
        out.left[i] = filterL.low * level;
        out.right[i] = filterR.low * level;
    }
    declick(out.left);
    declick(out.right);
    return out;
}

Stereo windVoice(const Voice& v)
{
    Rng rngL(v.seed), rngR(v.seed * 7919u + 13u);
    Svf bandL, bandR;
    const size_t frames = framesFor(v.length);
    const float fade = std::min(1.5f, v.length * 0.3f);
    Stereo out(frames);
    for (size_t i = 0; i < frames; ++i) {
        const float t = timeOf(i);
        if ((i & 31) == 0) {
            const float sweep = 0.5f + 0.5f * std::sin(float(2.0 * kPi) * 0.061f * t);
            const float sweep2 = 0.5f + 0.5f * std::sin(float(2.0 * kPi) * 0.047f * t + 1.7f);
            const float base = 300.0f + 1500.0f * v.brightness;
            bandL.set(base * (1.0f + 2.0f * sweep), 0.7f);
            bandR.set(base * (1.0f + 2.0f * sweep2), 0.7f);
        }
        bandL.process(rngL.bipolar());
        bandR.process(rngR.bipolar());
        const float level = std::min({1.0f, t / fade, (v.length - t) / fade}) * v.velocity;
        out.left[i] = bandL.band * std::max(0.0f, level);
        out.right[i] = bandR.band * std::max(0.0f, level);
    }
    return out;
}

StereoDelay::StereoDelay(float seconds, float feedback, float damping)
    : delay_(std::max<size_t>(1, static_cast<size_t>(seconds * kRate))), feedback_(feedback), damping_(damping)
{
}

void StereoDelay::process(Stereo& buffer) const
{
    // Ping-pong: the input enters the left line; each line feeds the other, darkened.
    std::vector<float> lineL(delay_, 0.0f), lineR(delay_, 0.0f);
    float toneL = 0.0f, toneR = 0.0f;
    size_t at = 0;
    for (size_t i = 0; i < buffer.frames(); ++i) {
        const float outL = lineL[at], outR = lineR[at];
        toneL += damping_ * (outL - toneL);
        toneR += damping_ * (outR - toneR);
        const float in = 0.5f * (buffer.left[i] + buffer.right[i]);
        lineL[at] = in + feedback_ * toneR;
        lineR[at] = feedback_ * toneL;
        buffer.left[i] = outL;
        buffer.right[i] = outR;
        if (++at == delay_)
            at = 0;
    }
}

Reverb::Reverb(float roomSize, float damping, float width)
    : feedback_(roomSize), damping_(damping), width_(width)
{
}

void Reverb::process(Stereo& buffer) const
{
    static const int combLengths[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static const int allpassLengths[4] = {556, 441, 341, 225};
    const int spread = 23;
    struct Comb {
        std::vector<float> line;
        size_t at = 0;
        float store = 0.0f;
    };
    struct Side {
        Comb combs[8];
        Comb allpasses[4];
    } sides[2];
    for (int s = 0; s < 2; ++s) {
        for (int k = 0; k < 8; ++k)
            sides[s].combs[k].line.assign(size_t(combLengths[k] + s * spread), 0.0f);
        for (int k = 0; k < 4; ++k)
            sides[s].allpasses[k].line.assign(size_t(allpassLengths[k] + s * spread), 0.0f);
    }
    const float wet1 = 0.5f + 0.5f * width_, wet2 = 0.5f - 0.5f * width_;
    for (size_t i = 0; i < buffer.frames(); ++i) {
        const float in = (buffer.left[i] + buffer.right[i]) * 0.015f;
        float out[2];
        for (int s = 0; s < 2; ++s) {
            float sum = 0.0f;
            for (Comb& c : sides[s].combs) {
                const float y = c.line[c.at];
                c.store = y * (1.0f - damping_) + c.store * damping_;
                c.line[c.at] = in + c.store * feedback_;
                if (++c.at == c.line.size())
                    c.at = 0;
                sum += y;
            }
            for (Comb& a : sides[s].allpasses) {
                const float y = a.line[a.at];
                a.line[a.at] = sum + y * 0.5f;
                if (++a.at == a.line.size())
                    a.at = 0;
                sum = y - sum;
            }
            out[s] = sum;
        }
        buffer.left[i] = out[0] * wet1 + out[1] * wet2;
        buffer.right[i] = out[1] * wet1 + out[0] * wet2;
    }
}

Limiter::Limiter(float ceiling, float lookaheadSeconds, float releaseSeconds)
    : ceiling_(ceiling), lookahead_(std::max<size_t>(1, static_cast<size_t>(lookaheadSeconds * kRate))),
      release_(1.0f - std::exp(-1.0f / (releaseSeconds * kRate)))
{
}

void Limiter::process(Stereo& buffer) const
{
    // The gain each frame needs on its own, then: the minimum over the trailing look-ahead
    // window, a slow release, and a forward average over the same window. Every gain the average
    // spans is at most the one needed at its first frame, so no frame exceeds the ceiling, and
    // the gain falls smoothly over the look-ahead time before each peak.
    const size_t n = buffer.frames();
    std::vector<float> gain(n);
    for (size_t i = 0; i < n; ++i) {
        const float peak = std::max(std::fabs(buffer.left[i]), std::fabs(buffer.right[i]));
        gain[i] = peak > ceiling_ ? ceiling_ / peak : 1.0f;
    }
    std::vector<float> held(n);
    std::deque<size_t> window; // indices with increasing gains
    float released = 1.0f;
    for (size_t i = 0; i < n; ++i) {
        while (!window.empty() && gain[window.back()] >= gain[i])
            window.pop_back();
        window.push_back(i);
        if (window.front() + lookahead_ <= i)
            window.pop_front();
        released = std::min(gain[window.front()], released + (1.0f - released) * release_);
        held[i] = released;
    }
    double sum = 0.0;
    for (size_t i = 0; i < std::min(n, lookahead_); ++i)
        sum += held[i];
    for (size_t i = 0; i < n; ++i) {
        const size_t span = std::min(lookahead_, n - i);
        const float g = float(sum / double(span));
        buffer.left[i] *= g;
        buffer.right[i] *= g;
        sum -= held[i];
        if (i + lookahead_ < n)
            sum += held[i + lookahead_];
    }
}

} // namespace synth
