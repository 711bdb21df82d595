// PNG files taken apart and put together again in tests: chunks with their CRCs recomputed,
// and pictures whose image data is damaged while every chunk and checksum stays intact.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>
#include <QtEndian>
#include <functional>
#include <utility>

namespace png_bytes {

inline const QByteArray kSignature("\x89PNG\r\n\x1a\n", 8);

inline uint32_t Crc32(const QByteArray& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (char byte : bytes) {
        crc ^= static_cast<uint8_t>(byte);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A PNG chunk: length, type, data, CRC.
inline QByteArray Chunk(const QByteArray& type, const QByteArray& data) {
    char length[4], crc[4];
    qToBigEndian(static_cast<uint32_t>(data.size()), length);
    qToBigEndian(Crc32(type + data), crc);
    return QByteArray(length, 4) + type + data + QByteArray(crc, 4);
}

struct Part {
    QByteArray type, data;
};

// The chunks of a whole PNG file, in order.
inline QList<Part> Parts(const QByteArray& png) {
    QList<Part> parts;
    for (qsizetype at = kSignature.size(); at + 12 <= png.size();) {
        const auto length = static_cast<qsizetype>(qFromBigEndian<uint32_t>(png.constData() + at));
        parts.append({png.mid(at + 4, 4), png.mid(at + 8, length)});
        at += 12 + length;
    }
    return parts;
}

inline QByteArray Assemble(const QList<Part>& parts) {
    QByteArray png = kSignature;
    for (const Part& part : parts) png += Chunk(part.type, part.data);
    return png;
}

// The zlib stream of the image data: every IDAT's data, in order.
inline QByteArray ImageStream(const QList<Part>& parts) {
    QByteArray stream;
    for (const Part& part : parts)
        if (part.type == "IDAT") stream += part.data;
    return stream;
}

// `png` with its image data replaced by `stream`, in one IDAT where the first one was.
inline QByteArray WithImageStream(const QByteArray& png, const QByteArray& stream) {
    QList<Part> parts;
    bool placed = false;
    for (const Part& part : Parts(png)) {
        if (part.type != "IDAT") {
            parts.append(part);
        } else if (!std::exchange(placed, true)) {
            parts.append({"IDAT", stream});
        }
    }
    return Assemble(parts);
}

// The filtered rows of a picture that is not interlaced and has at least 8 bits a sample: a
// filter type byte, then the row's bytes.
struct Rows {
    QByteArray bytes;
    qsizetype rowSize;  // the filter type byte included
};

inline Rows Inflate(const QByteArray& png) {
    const QList<Part> parts = Parts(png);
    const QByteArray& header = parts.at(0).data;
    const uint32_t width = qFromBigEndian<uint32_t>(header.constData());
    const uint32_t height = qFromBigEndian<uint32_t>(header.constData() + 4);
    const int depth = header.at(8), colour = header.at(9);
    EXPECT_EQ(header.at(12), 0) << "an interlaced picture";
    const int samples = colour == 2 ? 3 : colour == 4 ? 2 : colour == 6 ? 4 : 1;
    const qsizetype rowSize = 1 + qsizetype(width) * samples * depth / 8;
    char size[4];
    qToBigEndian(static_cast<uint32_t>(rowSize * height), size);
    return {qUncompress(QByteArray(size, 4) + ImageStream(parts)), rowSize};
}

inline QByteArray Deflate(const QByteArray& bytes) {
    return qCompress(bytes).mid(4);  // Qt puts the length in front of the zlib stream
}

// The three ways the image data of an intact file can be damaged, each made from `png`.
inline QByteArray WithTooLittleImageData(const QByteArray& png) {
    const Rows rows = Inflate(png);
    return WithImageStream(png, Deflate(rows.bytes.chopped(rows.rowSize)));  // the last row
}

inline QByteArray WithAnUndefinedFilterType(const QByteArray& png) {
    QByteArray rows = Inflate(png).bytes;
    rows[0] = 5;  // the types are 0 to 4
    return WithImageStream(png, Deflate(rows));
}

// `png` with the two header bytes of its zlib stream giving `method` and a window of
// 2^(8 + `windowCode`) bytes, and their check bits to match.
inline QByteArray WithStreamHeader(const QByteArray& png, int windowCode, int method) {
    QByteArray stream = ImageStream(Parts(png));
    const int flags = static_cast<uint8_t>(stream.at(1)) & 0xE0;
    const int header = (windowCode << 4 | method) << 8 | flags;
    stream[0] = static_cast<char>(header >> 8);
    stream[1] = static_cast<char>(flags | (31 - header % 31) % 31);
    return WithImageStream(png, stream);
}

inline QByteArray WithAnUnknownCompressionMethod(const QByteArray& png) {
    return WithStreamHeader(png, static_cast<uint8_t>(ImageStream(Parts(png)).at(0)) >> 4, 15);
}

struct Damage {
    const char* what;
    std::function<QByteArray(const QByteArray&)> make;
};

inline const Damage kImageDataDamages[] = {
    {"too little image data", &WithTooLittleImageData},
    {"a row with an undefined filter type", &WithAnUndefinedFilterType},
    {"image data with an unknown compression method", &WithAnUnknownCompressionMethod},
};

}  // namespace png_bytes
