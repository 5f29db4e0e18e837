// Builds LWO2 files byte by byte for tests: big-endian fields, padded strings and chunks.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class LwoBytes {
public:
    LwoBytes& id(const char* four)
    {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(std::uint8_t(four[i]));
        return *this;
    }
    LwoBytes& u1(unsigned v) { bytes.push_back(std::uint8_t(v)); return *this; }
    LwoBytes& u2(unsigned v) { return u1(v >> 8).u1(v); }
    LwoBytes& u4(std::uint32_t v) { return u2(v >> 16).u2(v & 0xFFFF); }
    LwoBytes& f4(float f)
    {
        std::uint32_t bits;
        __builtin_memcpy(&bits, &f, 4);
        return u4(bits);
    }
    LwoBytes& vec(float x, float y, float z) { return f4(x).f4(y).f4(z); }
    LwoBytes& vx(std::uint32_t v) { return v < 0xFF00 ? u2(v) : u4(0xFF000000u | v); }
    LwoBytes& s0(const std::string& s)
    {
        bytes.insert(bytes.end(), s.begin(), s.end());
        bytes.push_back(0);
        if ((s.size() + 1) & 1)
            bytes.push_back(0);
        return *this;
    }
    LwoBytes& raw(const LwoBytes& other)
    {
        bytes.insert(bytes.end(), other.bytes.begin(), other.bytes.end());
        return *this;
    }
    // A chunk (U4 size) or sub-chunk (U2 size) around `body`, padded to even length.
    LwoBytes& chunk(const char* four, const LwoBytes& body) { return id(four).u4(std::uint32_t(body.bytes.size())).raw(body).pad(body); }
    LwoBytes& sub(const char* four, const LwoBytes& body) { return id(four).u2(unsigned(body.bytes.size())).raw(body).pad(body); }
    // The whole file: FORM, size, LWO2 and the chunks.
    std::vector<std::uint8_t> form() const
    {
        LwoBytes file;
        file.id("FORM").u4(std::uint32_t(bytes.size() + 4)).id("LWO2").raw(*this);
        return file.bytes;
    }

    std::vector<std::uint8_t> bytes;

private:
    LwoBytes& pad(const LwoBytes& body) { return (body.bytes.size() & 1) ? u1(0) : *this; }
};
