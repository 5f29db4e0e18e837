// Temporary: placeholder bodies until the real implementations land.
#include "texture/CtxWriter.h"
#include "texture/JpegReader.h"
#include "texture/PngReader.h"
#include "texture/TextureManager.h"
#include "texture/TgaReader.h"

#include "script/ScriptReader.h"

TextureState parseTextureState(ScriptReader& reader, std::istream& stream)
{
    TextureState s;
    s.parse(reader, stream);
    return s;
}
void TextureState::applyParameters(GLenum) const {}
void TextureState::applyEnvironment(GLenum) const {}
void TextureState::restoreEnvironment(GLenum) const {}
void TextureState::parse(ScriptReader&, std::istream&) {}
void TextureState::parseApply(ScriptReader&, std::istream&) {}
void TextureState::parseEnvmap(ScriptReader&, std::istream&) {}

const PixelTypeInfo& pixelTypeInfo(int)
{
    static PixelTypeInfo none{-1, 0, 0, 0};
    return none;
}
int bytesPerPixel2D(int, int current) { return current; }
int bytesPerPixel1D3D(int, int current) { return current; }
std::uint64_t compressedImageSize(int, int, int) { return 0; }
void packPixel(int, std::uint32_t, std::uint8_t*) {}

Texture::~Texture() = default;
bool Texture::bind(GLenum) { return false; }
void Texture::unbind(GLenum) {}
bool Texture::upload() { return false; }
bool Texture::update() { return false; }
bool Texture::create() { return false; }
bool Texture::releaseGL() { return false; }
bool Texture::hasLiveObject() const { return false; }
ImageTexture::~ImageTexture() = default;
bool ImageTexture::upload() { return false; }
bool ImageTexture::update() { return false; }
bool ImageTexture::scaleToPowerOfTwo() { return false; }
bool ImageTexture::setImage(int, int, int, std::uint8_t*) { return false; }
bool ImageTexture::allocateImage(int, int, int) { return false; }
std::size_t ImageTexture::imageBytes() const { return 0; }
void ImageTexture::sendImage(GLenum, const TextureState&) const {}
bool Texture1D::upload() { return false; }
bool Texture1D::allocateImage(int, int) { return false; }
bool Texture3D::upload() { return false; }
bool Texture3D::allocateImage(int, int, int, int) { return false; }
std::size_t Texture3D::imageBytes() const { return 0; }
const char* const CubeMapTexture::kFaceSuffixes[6] = {"_pos_x", "_neg_x", "_pos_y",
                                                      "_neg_y", "_pos_z", "_neg_z"};
CubeMapTexture::~CubeMapTexture() = default;
bool CubeMapTexture::upload() { return false; }
bool CubeMapTexture::setFace(int, ImageTexture*) { return false; }
bool CubeMapTexture::complete() const { return false; }

std::unique_ptr<Texture1D> ImageReader::read1D(const std::string&, int) { return nullptr; }
std::unique_ptr<ImageTexture> ImageReader::read2D(const std::string&, int) { return nullptr; }
std::unique_ptr<Texture3D> ImageReader::read3D(const std::string&, int) { return nullptr; }
bool ImageReader::handles(const std::string&) const { return false; }
bool ImageWriter::write1D(const std::string&, const Texture1D&) { return false; }
bool ImageWriter::write2D(const std::string&, const ImageTexture&) { return false; }
bool ImageWriter::write3D(const std::string&, const Texture3D&) { return false; }
bool ImageWriter::handles(const std::string&) const { return false; }
bool extensionMatches(const std::string&, const std::string&) { return false; }

std::uint32_t convertPixel(int, const std::uint8_t*, int, SampleSource) { return 0; }
std::unique_ptr<ImageTexture> makeTexture2D(const DecodedImage&, int, bool) { return nullptr; }
std::unique_ptr<Texture1D> makeTexture1D(const DecodedImage&, int) { return nullptr; }
bool readWholeFile(const std::string&, std::vector<std::uint8_t>&, std::size_t) { return false; }

TgaResult decodeTga(const std::uint8_t*, std::size_t, DecodedImage&) { return TgaResult::Truncated; }
std::unique_ptr<Texture1D> TgaReader::read1D(const std::string&, int) { return nullptr; }
std::unique_ptr<ImageTexture> TgaReader::read2D(const std::string&, int) { return nullptr; }
bool TgaReader::decode(const std::string&, DecodedImage&) { return false; }
bool decodePng(const std::uint8_t*, std::size_t, DecodedImage&) { return false; }
std::unique_ptr<Texture1D> PngReader::read1D(const std::string&, int) { return nullptr; }
std::unique_ptr<ImageTexture> PngReader::read2D(const std::string&, int) { return nullptr; }
bool decodeJpeg(const std::uint8_t*, std::size_t, DecodedImage&) { return false; }
std::unique_ptr<Texture1D> JpegReader::read1D(const std::string&, int) { return nullptr; }
std::unique_ptr<ImageTexture> JpegReader::read2D(const std::string&, int) { return nullptr; }
std::unique_ptr<Texture1D> CtxReader::read1D(const std::string&, int) { return nullptr; }
std::unique_ptr<ImageTexture> CtxReader::read2D(const std::string&, int) { return nullptr; }
std::unique_ptr<Texture3D> CtxReader::read3D(const std::string&, int) { return nullptr; }
bool CtxWriter::write1D(const std::string&, const Texture1D&) { return false; }
bool CtxWriter::write2D(const std::string&, const ImageTexture&) { return false; }
bool CtxWriter::write3D(const std::string&, const Texture3D&) { return false; }

TextureManager* TextureManager::instance = nullptr;
TextureManager::TextureManager() { instance = this; }
TextureManager::~TextureManager() { if (instance == this) instance = nullptr; }
void TextureManager::addSearchPath(const std::string&) {}
void TextureManager::createDefaults() {}
Texture* TextureManager::load(const std::string&, int, GLenum) { return nullptr; }
Texture* TextureManager::loadCubeMap(const std::string&, int) { return nullptr; }
Texture* TextureManager::find(const std::string&) { return nullptr; }
bool TextureManager::release(Texture*&) { return false; }
bool TextureManager::releaseByName(const std::string&) { return false; }
Texture* TextureManager::detach(const std::string&) { return nullptr; }
bool TextureManager::add(Texture*) { return false; }
std::string TextureManager::findFile(const std::string&) const { return {}; }
Texture* TextureManager::loadAndBindLoadingPicture() { return nullptr; }
void TextureManager::addReader(std::unique_ptr<ImageReader>) {}
void TextureManager::addWriter(std::unique_ptr<ImageWriter>) {}
ImageReader* TextureManager::readerFor(const std::string&) const { return nullptr; }
ImageWriter* TextureManager::writerFor(const std::string&) const { return nullptr; }
void TextureManager::createNormalizationCubeMap(int) {}
Texture* TextureManager::findEntry(const std::string&) const { return nullptr; }
void TextureManager::destroy(Texture*) {}
