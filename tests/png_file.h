// PNG files of the tests' screenshots: 8-bit RGB, zlib-compressed.
#pragma once

// rgb: top row first, 3 bytes a pixel, no padding. 1 when the file was written.
int WritePng(const char* path, const unsigned char* rgb, int width, int height);
