// Writes generated pictures in the formats the show reads: JPEG (libjpeg-turbo), PNG (libpng),
// uncompressed 32-bit TGA and the "CTX " container (through the texture library's own writer).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace imagefiles {

// `rgb`: height rows of width × 3 bytes, top row first. 4:4:4 sampling keeps coloured edges of
// lettering clean. False with `error` set on failure.
bool writeJpeg(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb,
               int quality, std::string& error);
// `rgba`: rows of width × 4 bytes, top first.
bool writePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba,
              std::string& error);
// A type-2 TGA, 32 bits per pixel, stored bottom row first (the usual origin).
bool writeTga(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba,
              std::string& error);
// A 2D "CTX " container of pixel type 9 (RGBA).
bool writeCtx(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba,
              std::string& error);

// Size of a file in bytes (0 when missing); the generator reports what it wrote.
std::uintmax_t fileSize(const std::string& path);
// Creates the folders of `path`'s parent.
bool makeParent(const std::string& path, std::string& error);

} // namespace imagefiles
