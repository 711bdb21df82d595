// Whether the bytes of a PNG file are whole: the PNG decoder under Qt (libpng, with no error
// callback of Qt's) reports a file that is cut short, damaged or has an impossible header by
// printing "libpng error: ..." to standard error itself, so such a file is refused before it
// reaches the decoder.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Whether `bytes` begin with the PNG signature.
bool PngHasSignature(std::string_view bytes);

struct PngSize {
    uint32_t width, height;
};

// The picture size of a whole PNG file in `bytes`, or nothing when it is not one: it has the
// signature, IHDR first with values the format allows, every chunk inside the bytes with a
// type of four letters and a matching CRC, and IEND last (what follows IEND is never read).
std::optional<PngSize> PngIntactSize(std::string_view bytes);

// Whether libpng reads the whole file in `bytes` without an error: every chunk it knows, the
// image data inflated row by row through every interlace pass (enough of it, each row with a
// filter type the format defines), and the chunks after it. Read as Qt reads, without a word
// on standard error. Meant for a file PngIntactSize accepted, whose size is within bounds.
bool PngDecodesWithoutError(std::string_view bytes);
