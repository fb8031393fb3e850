// A PNG encoder of our own for the builds without libpng: 8-bit RGB, no filtering, and a zlib
// stream of stored (uncompressed) deflate blocks. The files are larger than compressed ones (a
// 1024 x 768 shot is about 2.4 MB) but any PNG reader takes them, and the encoder needs nothing
// but checksums.
#pragma once

#include <cstdint>
#include <vector>

// rgba holds width x height pixels, top row first; alpha is dropped. Empty when the size is not
// positive, does not match rgba, or is too large for one PNG.
std::vector<uint8_t> EncodeStoredPng(const std::vector<uint8_t>& rgba, int width, int height);
