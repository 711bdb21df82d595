// Pictures: whatever cannot be read as a picture, or lies outside the resource folder, opens
// as nil.
#include "framework/toolkit/picture.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <filesystem>
#include <random>
#include <string>

#include "framework/toolkit/picture_internal.h"
#include "tests/toolkit/raised.h"

namespace {

const std::string kResources =
    (std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "resources")
        .lexically_normal()
        .string();

class PictureTest : public LeakCheckedTest {
  protected:
    void TearDown() override {
        ToolkitSetResourceFolder("");
        LeakCheckedTest::TearDown();
    }
    // Writes `bytes` as `name` into a folder of its own, which becomes the resource folder.
    void Serve(const QString& name, const QByteArray& bytes) {
        ASSERT_TRUE(folder_.isValid());
        QFile file(folder_.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        ToolkitSetResourceFolder(folder_.path().toStdString());
    }
    QTemporaryDir folder_;
};

QByteArray FileBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

uint32_t Crc32(const QByteArray& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (char byte : bytes) {
        crc ^= static_cast<uint8_t>(byte);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A PNG chunk: length, type, data, CRC.
QByteArray Chunk(const QByteArray& type, const QByteArray& data) {
    char length[4], crc[4];
    qToBigEndian(static_cast<uint32_t>(data.size()), length);
    qToBigEndian(Crc32(type + data), crc);
    return QByteArray(length, 4) + type + data + QByteArray(crc, 4);
}

// A whole PNG whose header claims a picture of width × height and whose data is empty.
QByteArray PngHeaderClaiming(uint32_t width, uint32_t height) {
    char size[8];
    qToBigEndian(width, size);
    qToBigEndian(height, size + 4);
    // 8 bits, RGBA, deflate, no filter, no interlace; then an empty zlib stream
    const QByteArray header = QByteArray(size, 8) + QByteArray("\x08\x06\x00\x00\x00", 5);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", header) +
           Chunk("IDAT", QByteArray("\x78\x9c\x03\x00\x00\x00\x00\x01", 8)) +
           Chunk("IEND", QByteArray());
}

// A whole 8-bit grey PNG of width × height (interlaced: Adam7) around the zlib stream `stream`.
QByteArray GreyPng(uint32_t width, uint32_t height, const QByteArray& stream,
                   bool interlaced = false) {
    char header[13] = {};
    qToBigEndian(width, header);
    qToBigEndian(height, header + 4);
    header[8] = 8;  // bits a pixel; then grey, deflate, no filter
    header[12] = interlaced ? 1 : 0;
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", QByteArray(header, 13)) +
           Chunk("IDAT", stream) + Chunk("IEND", QByteArray());
}

// `rows` deflated, the stream's two header bytes giving `method` and a window of
// 2^(8 + `windowCode`) bytes, and their check bits to match.
QByteArray Deflated(const QByteArray& rows, int windowCode = 7, int method = 8) {
    QByteArray stream = qCompress(rows).mid(4);  // Qt puts the length in front
    const int flags = static_cast<uint8_t>(stream.at(1)) & 0xE0;
    const int header = (windowCode << 4 | method) << 8 | flags;
    stream[0] = static_cast<char>(header >> 8);
    stream[1] = static_cast<char>(flags | (31 - header % 31) % 31);
    return stream;
}

// A 3 x 3 picture of `format` as Qt writes it.
QByteArray WrittenAs(QImage::Format format) {
    QImage image(3, 3, format);
    image.fill(1);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray WithByteFlipped(QByteArray bytes, qsizetype at) {
    bytes[at] = static_cast<char>(bytes.at(at) ^ 0x08);
    return bytes;
}

TEST_F(PictureTest, NamesThatReachOutsideTheFolderOpenNothing) {
    ToolkitSetResourceFolder(kResources + "/../resources");
    for (const char* name : {"../resources/Checks.png", "./Checks.png", "sub/Checks.png",
                             "..\\Checks.png", "..", ".", "", "/etc/hostname"})
        EXPECT_FALSE(PictureOpenFromApp(name)) << name;
    EXPECT_TRUE(PictureOpenFromApp("Checks.png"));
}

struct ReadCase {
    const char* what;
    QByteArray bytes;
    bool opens;
};

// The PNG decoder writes to standard error itself when a file ends early or is damaged, also
// inside image data whose chunks and checksums are intact, and passes its warnings to Qt's
// log; a picture opens or opens as nil without either.
TEST_F(PictureTest, WhatCannotBeReadAsAPictureOpensAsNilAndNothingIsPrinted) {
    const QByteArray shipped = FileBytes(kResources + "/Checks.png");
    ASSERT_GT(shipped.size(), 200);
    const qsizetype afterHeader = 33;  // the signature and the IHDR chunk
    // 3 x 3 grey, each row a filter type byte (0, none) and its pixels; interlaced, the seven
    // passes hold 1, 0, 0, 1, 2, 1 + 1 and 3 pixels.
    const QByteArray rows("\0\x10\x20\x30\0\x40\x50\x60\0\x70\x80\x90", 12);
    const QByteArray passes("\0\x10\0\x30\0\x70\x90\0\x20\0\x80\0\x40\x50\x60", 15);
    QByteArray undefinedFilter = rows;
    undefinedFilter[0] = 5;  // the types are 0 to 4
    // Two equal rows of 300 pixels: the second refers back further than a window of 256 bytes.
    std::mt19937 random;
    QByteArray wide(1, '\0');
    for (int i = 0; i < 300; ++i) wide += static_cast<char>(random());
    const ReadCase cases[] = {
        {"an empty file", QByteArray(), false},
        {"text", QByteArray("Pearson r to Fisher z\n"), false},
        {"noise", QByteArray(4096, '\x5a'), false},
        {"a picture cut inside its header", shipped.left(20), false},
        {"a picture cut inside its data", shipped.left(120), false},
        {"a picture cut before its end chunk", shipped.left(shipped.size() - 12), false},
        {"a damaged byte in its data", WithByteFlipped(shipped, 100), false},
        {"a damaged chunk name", WithByteFlipped(shipped, afterHeader + 5), false},
        {"a picture that claims 60000 x 60000 pixels", PngHeaderClaiming(60000, 60000), false},
        {"a picture that claims 2^31 - 1 pixels across", PngHeaderClaiming(0x7FFFFFFF, 1), false},
        {"a picture with a malformed optional chunk",
         shipped.left(afterHeader) + Chunk("pHYs", QByteArray(8, '\0')) + shipped.mid(afterHeader),
         true},
        {"too little image data", GreyPng(3, 3, Deflated(rows.chopped(4))), false},
        {"a row with an undefined filter type", GreyPng(3, 3, Deflated(undefinedFilter)), false},
        {"an unknown compression method", GreyPng(3, 3, Deflated(rows, 7, 15)), false},
        {"an interlaced picture", GreyPng(3, 3, Deflated(passes), true), true},
        {"a zlib header that understates its window, which Qt reads",
         GreyPng(300, 2, Deflated(wide + wide, 0)), true},
        {"a 1-bit palette picture", WrittenAs(QImage::Format_Mono), true},
        {"a 16-bit grey picture", WrittenAs(QImage::Format_Grayscale16), true},
        {"an RGB picture", WrittenAs(QImage::Format_RGB32), true},
    };
    for (const ReadCase& c : cases) {
        Serve("picture.png", c.bytes);
        testing::internal::CaptureStderr();
        const bool opened = static_cast<bool>(PictureOpenFromApp("picture.png"));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.what;
        EXPECT_EQ(opened, c.opens) << c.what;
    }
    EXPECT_FALSE(PictureOpenFromApp("missing.png"));
}

}  // namespace
