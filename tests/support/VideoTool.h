// Reads videos back with the FFmpeg command-line tools (ffprobe, ffmpeg): an independent check
// of what our writers put in a file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct ProbedVideo {
    std::string codec;      // e.g. "mjpeg"
    std::string frameRate;  // as a fraction, e.g. "24/1"
    int width = 0, height = 0, frames = 0;
};

// The first video stream of `path` with its frames counted; false (with `error`) when ffprobe
// is missing or finds no video stream.
bool probeVideo(const std::string& path, ProbedVideo& video, std::string& error);
// Every frame of `path` decoded to RGB rows (top first), `width` × `height` × 3 bytes each.
bool decodeVideo(const std::string& path, int width, int height,
                 std::vector<std::vector<std::uint8_t>>& frames, std::string& error);
// Mean absolute difference per byte of two pictures of the same size.
double meanDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b);
