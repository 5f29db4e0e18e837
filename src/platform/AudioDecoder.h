// Decodes a whole compressed audio file (MP3 and whatever else FFmpeg reads) to float samples.
#pragma once
#include <string>
#include <vector>

namespace platform {

class AudioDecoder {
public:
    // Decodes the first audio stream of `path`. False, with error() set, when the file is
    // missing, holds no audio stream or does not decode; the previous result is cleared either way.
    bool decodeFile(const std::string& path);

    int sampleRate() const { return sampleRate_; }
    int channelCount() const { return static_cast<int>(channels_.size()); }
    // Samples of one channel, in [-1, 1] for integer formats (float formats pass through as is).
    const std::vector<float>& channel(int index) const { return channels_[static_cast<size_t>(index)]; }
    size_t frameCount() const { return channels_.empty() ? 0 : channels_[0].size(); }
    double duration() const { return sampleRate_ > 0 ? double(frameCount()) / sampleRate_ : 0.0; }
    const std::string& error() const { return error_; }

private:
    bool fail(const std::string& message);

    int sampleRate_ = 0;
    std::vector<std::vector<float>> channels_;
    std::string error_;
};

} // namespace platform
