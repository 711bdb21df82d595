#include "framework/toolkit/png_check.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <vector>

namespace {

constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);
// Around a chunk's data: its length and type before it, its CRC after it, four bytes each.
constexpr size_t kFieldSize = 4;
constexpr size_t kChunkFrame = 3 * kFieldSize;
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFF;
constexpr uint32_t kCrcPolynomial = 0xEDB88320;  // CRC-32 as PNG uses it, bits reversed
constexpr uint32_t kHeaderLength = 13;

// clang-format off
// The bit depths each colour type allows, one bit per depth (1 << depth).
struct ColourType {
    uint8_t code;
    uint32_t depths;
};
constexpr ColourType kColourTypes[] = {
    {0, 1u << 1 | 1u << 2 | 1u << 4 | 1u << 8 | 1u << 16},  // greyscale
    {2, 1u << 8 | 1u << 16},                                // RGB
    {3, 1u << 1 | 1u << 2 | 1u << 4 | 1u << 8},             // palette
    {4, 1u << 8 | 1u << 16},                                // greyscale and alpha
    {6, 1u << 8 | 1u << 16},                                // RGB and alpha
};
// clang-format on

constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < table.size(); ++n) {
        uint32_t crc = n;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? kCrcPolynomial ^ (crc >> 1) : crc >> 1;
        table[n] = crc;
    }
    return table;
}
constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

uint32_t Crc32(std::string_view bytes) {
    uint32_t crc = 0xFFFFFFFF;
    for (char byte : bytes) crc = kCrcTable[(crc ^ static_cast<uint8_t>(byte)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t BigEndian32(std::string_view bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < kFieldSize; ++i)
        value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

bool IsChunkType(std::string_view type) {
    for (char c : type)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
    return true;
}

// IHDR's data: width, height, bit depth, colour type, compression, filter, interlace.
std::optional<PngSize> HeaderSize(std::string_view data) {
    if (data.size() != kHeaderLength) return std::nullopt;
    const PngSize size{BigEndian32(data, 0), BigEndian32(data, kFieldSize)};
    const auto byte = [&](size_t at) { return static_cast<uint8_t>(data[at]); };
    const uint8_t depth = byte(8), colour = byte(9);
    const bool depthAllowed =
        std::any_of(std::begin(kColourTypes), std::end(kColourTypes), [&](const ColourType& type) {
            return type.code == colour && depth < 32 && (type.depths & (1u << depth));
        });
    if (size.width == 0 || size.width > kMaxChunkLength || size.height == 0 ||
        size.height > kMaxChunkLength || !depthAllowed || byte(10) != 0 || byte(11) != 0 ||
        byte(12) > 1)
        return std::nullopt;
    return size;
}

// ---- reading through libpng without a word ------------------------------------------------

// What a silent read works on. It lives on the heap: what changes between setjmp and a jump
// back to it must not be an automatic object of the function that called setjmp.
struct SilentRead {
    std::string_view bytes;
    size_t at = 0;
    std::vector<png_byte> row;
};

// libpng's own handlers print; these say nothing. An error ends the read through the jump
// that ReadsWithoutError set.
[[noreturn]] void FailSilently(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void IgnoreWarning(png_structp, png_const_charp) {}

void ReadFromBytes(png_structp png, png_bytep out, size_t length) {
    auto* read = static_cast<SilentRead*>(png_get_io_ptr(png));
    if (length > read->bytes.size() - read->at) png_error(png, "the file ends early");
    std::memcpy(out, read->bytes.data() + read->at, length);
    read->at += length;
}

// Every row of every interlace pass into one row buffer, then the chunks after the image data.
// No object with a destructor lives here: an error jumps out of this frame.
void ReadEveryRow(png_structp png, png_infop info, SilentRead* read) {
    png_read_info(png, info);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    read->row.resize(png_get_rowbytes(png, info));
    const png_uint_32 height = png_get_image_height(png, info);
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, read->row.data(), nullptr);
    png_read_end(png, info);
}

// Whether the whole read gets through without an error jumping back here. Nothing of this frame
// changes after setjmp.
bool ReadsWithoutError(png_structp png, png_infop info, SilentRead* read) {
    if (setjmp(png_jmpbuf(png)) != 0) return false;
    // As Qt's reader: a zlib stream whose header claims too small a window still inflates.
    png_set_option(png, PNG_MAXIMUM_INFLATE_WINDOW, PNG_OPTION_ON);
    png_set_read_fn(png, read, &ReadFromBytes);
    ReadEveryRow(png, info, read);
    return true;
}

}  // namespace

bool PngHasSignature(std::string_view bytes) {
    return bytes.starts_with(kSignature);
}

std::optional<PngSize> PngIntactSize(std::string_view bytes) {
    if (!PngHasSignature(bytes)) return std::nullopt;
    std::optional<PngSize> size;
    size_t at = kSignature.size();
    while (bytes.size() - at >= kChunkFrame) {
        const uint32_t length = BigEndian32(bytes, at);
        if (length > kMaxChunkLength || length > bytes.size() - at - kChunkFrame) break;
        const std::string_view typeAndData = bytes.substr(at + kFieldSize, kFieldSize + length);
        const std::string_view type = typeAndData.substr(0, kFieldSize);
        const bool first = at == kSignature.size();
        if (!IsChunkType(type) || first != (type == "IHDR") ||
            Crc32(typeAndData) != BigEndian32(bytes, at + kFieldSize + typeAndData.size()))
            break;
        if (first && !(size = HeaderSize(typeAndData.substr(kFieldSize)))) break;
        if (type == "IEND") return size;
        at += kChunkFrame + length;
    }
    return std::nullopt;
}

bool PngDecodesWithoutError(std::string_view bytes) {
    const auto read = std::make_unique<SilentRead>();
    read->bytes = bytes;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, &FailSilently, &IgnoreWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    const bool whole = info && ReadsWithoutError(png, info, read.get());
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    return whole;
}
