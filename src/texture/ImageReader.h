// Image readers and writers: one per file extension, building 1D, 2D or 3D textures from files
// (and writing them back, for the formats that can).
#pragma once
#include "texture/Texture.h"

#include <memory>
#include <string>

class ImageReader {
public:
    explicit ImageReader(std::string extension) : extension(std::move(extension)) {}
    virtual ~ImageReader() = default;

    // `path` is the whole path (search-path prefix + name). None when the file can't be read or
    // the format has no such kind of texture.
    virtual std::unique_ptr<Texture1D> read1D(const std::string& path, int pixelType);
    virtual std::unique_ptr<ImageTexture> read2D(const std::string& path, int pixelType);
    virtual std::unique_ptr<Texture3D> read3D(const std::string& path, int pixelType);

    // The text after the last '.' of `name` (the whole name without one) equals the extension,
    // case-sensitively.
    bool handles(const std::string& name) const;

    const std::string extension;
};

class ImageWriter {
public:
    explicit ImageWriter(std::string extension) : extension(std::move(extension)) {}
    virtual ~ImageWriter() = default;

    // False when the format can't store the texture or the file can't be written.
    virtual bool write1D(const std::string& path, const Texture1D& texture);
    virtual bool write2D(const std::string& path, const ImageTexture& texture);
    virtual bool write3D(const std::string& path, const Texture3D& texture);

    bool handles(const std::string& name) const;

    const std::string extension;
};

// The extension test both lists use.
bool extensionMatches(const std::string& name, const std::string& extension);

// Why an image file that did not load cannot be read, in a show maker's words: "the file does
// not exist", "the file is empty", "not a PNG file" (the first bytes say another format), or
// "the file is corrupt or holds a kind of image the reader does not take".
std::string imageReadProblem(const std::string& path);
