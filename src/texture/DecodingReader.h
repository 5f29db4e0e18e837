// The base of readers whose format decodes into 8-bit samples first: 1D textures from the first
// stored row, 2D textures from every row, converted to the requested pixel type.
#pragma once
#include "texture/DecodedImage.h"
#include "texture/ImageReader.h"

class DecodingReader : public ImageReader {
public:
    DecodingReader(std::string extension, bool bottomUp)
        : ImageReader(std::move(extension)), bottomUp(bottomUp) {}

    std::unique_ptr<Texture1D> read1D(const std::string& path, int pixelType) override;
    std::unique_ptr<ImageTexture> read2D(const std::string& path, int pixelType) override;

protected:
    // The file's samples, rows in file order; false when it can't be read.
    virtual bool decodeFile(const std::string& path, DecodedImage& image) = 0;

private:
    // Rows stored bottom first: file row i becomes texture row height - 1 - i.
    const bool bottomUp;
};
