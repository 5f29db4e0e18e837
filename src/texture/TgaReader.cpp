#include "texture/TgaReader.h"

#include "core/Log.h"
#include "platform/MessageBox.h"

#include <cstring>

namespace {

// Bounds-checked reading from the file image.
class Cursor {
public:
    Cursor(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    std::size_t left() const { return size - pos; }
    bool skip(std::size_t n)
    {
        if (n > left())
            return false;
        pos += n;
        return true;
    }
    const std::uint8_t* take(std::size_t n)
    {
        if (n > left())
            return nullptr;
        const std::uint8_t* p = data + pos;
        pos += n;
        return p;
    }
    std::uint8_t u8() { return data[pos++]; }
    std::uint16_t u16()
    {
        const std::uint16_t v = std::uint16_t(data[pos] | data[pos + 1] << 8);
        pos += 2;
        return v;
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;
};

struct TgaHeader {
    std::uint8_t idLength, colourMapType, imageType;
    std::uint16_t colourMapFirst, colourMapLength;
    std::uint8_t colourMapBits;
    std::uint16_t xOrigin, yOrigin, width, height;
    std::uint8_t pixelDepth, descriptor;
    static constexpr std::size_t kSize = 18;
};

// How one stored pixel becomes output samples.
enum class PixelKind { Indexed, Grey, Rgb555, Bgr, Bgra };

struct PixelFormat {
    PixelKind kind;
    int inBytes;
    int outBytes;
};

// Expands one stored pixel at `in` to `out`. Indices outside the colour map give black.
inline void expandPixel(const PixelFormat& f, const std::uint8_t* in, const std::uint8_t* palette,
                        std::size_t paletteEntries, std::uint8_t* out)
{
    switch (f.kind) {
    case PixelKind::Indexed:
        if (in[0] < paletteEntries)
            std::memcpy(out, palette + std::size_t(in[0]) * 3, 3);
        else
            out[0] = out[1] = out[2] = 0;
        break;
    case PixelKind::Rgb555: {
        const unsigned v = unsigned(in[0]) | unsigned(in[1]) << 8;
        out[0] = std::uint8_t((v & 31) * 8);
        out[1] = std::uint8_t(((v >> 5) & 31) * 8);
        out[2] = std::uint8_t(((v >> 10) & 31) * 8);
        break;
    }
    default:
        std::memcpy(out, in, std::size_t(f.outBytes));
        break;
    }
}

bool decodeRaw(Cursor& in, const PixelFormat& f, const std::uint8_t* palette,
               std::size_t paletteEntries, std::size_t pixels, std::uint8_t* out)
{
    const std::uint8_t* src = in.take(pixels * std::size_t(f.inBytes));
    if (!src)
        return false;
    if (f.kind != PixelKind::Indexed && f.kind != PixelKind::Rgb555) {
        std::memcpy(out, src, pixels * std::size_t(f.outBytes));
        return true;
    }
    for (std::size_t i = 0; i < pixels; ++i, src += f.inBytes, out += f.outBytes)
        expandPixel(f, src, palette, paletteEntries, out);
    return true;
}

// Run-length packets: a header byte c gives n = (c & 127) + 1 pixels, one value repeated when
// c & 128 is set, else n stored values. Packets may cross rows; pixels past the image end are
// read but not written.
bool decodeRunLength(Cursor& in, const PixelFormat& f, const std::uint8_t* palette,
                     std::size_t paletteEntries, std::size_t pixels, std::uint8_t* out)
{
    std::size_t done = 0;
    std::uint8_t value[4];
    while (done < pixels) {
        if (in.left() < 1)
            return false;
        const std::uint8_t c = in.u8();
        const std::size_t n = std::size_t(c & 127) + 1;
        const std::size_t written = std::min(n, pixels - done);
        if (c & 128) {
            const std::uint8_t* src = in.take(std::size_t(f.inBytes));
            if (!src)
                return false;
            expandPixel(f, src, palette, paletteEntries, value);
            for (std::size_t i = 0; i < written; ++i, out += f.outBytes)
                std::memcpy(out, value, std::size_t(f.outBytes));
        } else {
            const std::uint8_t* src = in.take(n * std::size_t(f.inBytes));
            if (!src)
                return false;
            for (std::size_t i = 0; i < written; ++i, src += f.inBytes, out += f.outBytes)
                expandPixel(f, src, palette, paletteEntries, out);
        }
        done += written;
    }
    return true;
}

const char* failureText(TgaResult result)
{
    switch (result) {
    case TgaResult::UnsupportedPalette:
        return "Only 24bit paletted images are supported.";
    case TgaResult::UnsupportedType:
        return "Unsupported image type.";
    case TgaResult::UnsupportedDepth:
        return "Unsupported image depth.";
    default:
        return nullptr;
    }
}

} // namespace

TgaResult decodeTga(const std::uint8_t* data, std::size_t size, DecodedImage& image)
{
    image = DecodedImage{};
    image.source = SampleSource::Tga;
    Cursor in(data, size);
    if (in.left() < TgaHeader::kSize)
        return TgaResult::Truncated;
    TgaHeader h;
    h.idLength = in.u8();
    h.colourMapType = in.u8();
    h.imageType = in.u8();
    h.colourMapFirst = in.u16();
    h.colourMapLength = in.u16();
    h.colourMapBits = in.u8();
    h.xOrigin = in.u16();
    h.yOrigin = in.u16();
    h.width = in.u16();
    h.height = in.u16();
    h.pixelDepth = in.u8();
    h.descriptor = in.u8();
    if (!in.skip(h.idLength))
        return TgaResult::Truncated;

    const bool indexed = h.imageType == 1 || h.imageType == 9;
    const std::uint8_t* palette = nullptr;
    std::size_t paletteEntries = 0;
    if (indexed) {
        if (h.colourMapType != 1 || h.colourMapBits != 24)
            return TgaResult::UnsupportedPalette;
        paletteEntries = h.colourMapLength;
        palette = in.take(paletteEntries * 3);
        if (!palette)
            return TgaResult::Truncated;
    }
    switch (h.imageType) {
    case 1: case 2: case 3: case 9: case 10: case 11:
        break;
    default:
        return TgaResult::UnsupportedType;
    }

    PixelFormat format;
    switch (h.pixelDepth) {
    case 8:
        format = indexed ? PixelFormat{PixelKind::Indexed, 1, 3} : PixelFormat{PixelKind::Grey, 1, 1};
        break;
    case 16:
        format = {PixelKind::Rgb555, 2, 3};
        break;
    case 24:
        format = {PixelKind::Bgr, 3, 3};
        break;
    case 32:
        format = {PixelKind::Bgra, 4, 4};
        break;
    default:
        return TgaResult::UnsupportedDepth;
    }
    const std::size_t pixels = std::size_t(h.width) * std::size_t(h.height);
    if (pixels == 0)
        return TgaResult::BadSize;
    const bool runLength = h.imageType >= 9;
    // Never allocate more than the rest of the file can fill: a run-length packet of at least
    // two bytes gives at most 128 pixels.
    const std::size_t fillable = runLength ? in.left() / 2 * 128 : in.left() / std::size_t(format.inBytes);
    if (pixels > fillable)
        return TgaResult::Truncated;
    if (pixels > kMaxImagePixels)
        return TgaResult::BadSize;

    image.samples.resize(pixels * std::size_t(format.outBytes));
    const bool ok = runLength
                        ? decodeRunLength(in, format, palette, paletteEntries, pixels, image.samples.data())
                        : decodeRaw(in, format, palette, paletteEntries, pixels, image.samples.data());
    if (!ok) {
        image = DecodedImage{};
        return TgaResult::Truncated;
    }
    image.width = h.width;
    image.height = h.height;
    image.channels = format.outBytes;
    image.source = SampleSource::Tga;
    return TgaResult::Ok;
}

bool TgaReader::decodeFile(const std::string& path, DecodedImage& image)
{
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(path, bytes)) {
        platform::showMessageBox("TGA", "File not found.");
        return false;
    }
    const TgaResult result = decodeTga(bytes.data(), bytes.size(), image);
    if (result != TgaResult::Ok) {
        if (const char* text = failureText(result))
            platform::showMessageBox("TGA", text);
        else
            logPrint("TGA %s: %s", path.c_str(),
                     result == TgaResult::BadSize ? "empty image" : "file ends inside the image");
        return false;
    }
    // Textures are made from 24- and 32-bit pictures only; grey ones are refused.
    return image.channels == 3 || image.channels == 4;
}
