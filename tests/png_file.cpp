#include "tests/png_file.h"

#include <zlib.h>

#include <cstdio>
#include <string>

namespace {

void PutBigEndian(std::string& out, unsigned long value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void PutChunk(std::string& out, const char* type, const std::string& data)
{
    PutBigEndian(out, data.size());
    std::string body = std::string(type, 4) + data;
    out += body;
    PutBigEndian(out, crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size()));
}

}  // namespace

int WritePng(const char* path, const unsigned char* rgb, int width, int height)
{
    if (width <= 0 || height <= 0) return 0;
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    std::string raw;
    raw.reserve(static_cast<size_t>(height) * (rowBytes + 1));
    for (int y = 0; y < height; ++y) {
        raw += '\0';   // filter: none
        raw.append(reinterpret_cast<const char*>(rgb) + y * rowBytes, rowBytes);
    }
    uLongf packedSize = compressBound(raw.size());
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize,
                  reinterpret_cast<const Bytef*>(raw.data()), raw.size(), 9) != Z_OK)
        return 0;
    packed.resize(packedSize);

    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    PutBigEndian(header, width);
    PutBigEndian(header, height);
    header += std::string("\x08\x02\x00\x00\x00", 5);   // 8 bits, RGB, deflate, no filter, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", std::string());

    FILE* file = fopen(path, "wb");
    if (!file) return 0;
    int ok = fwrite(png.data(), 1, png.size(), file) == png.size();
    return fclose(file) == 0 && ok;
}
