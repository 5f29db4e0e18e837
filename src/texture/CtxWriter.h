// Writes textures as "CTX " containers through zlib's gzip layer at compression level 9.
#pragma once
#include "texture/CtxReader.h"
#include "texture/ImageReader.h"

class CtxWriter : public ImageWriter {
public:
    CtxWriter() : ImageWriter("ctx") {}
    bool write1D(const std::string& path, const Texture1D& texture) override;
    bool write2D(const std::string& path, const ImageTexture& texture) override;
    bool write3D(const std::string& path, const Texture3D& texture) override;
};
