// Pictures: whatever cannot be read as a picture, or lies outside the resource folder, opens
// as nil.
#include "framework/toolkit/picture.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <filesystem>
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

// The PNG decoder writes to standard error itself when a file ends early or is damaged, and
// passes its warnings to Qt's log; a picture opens or opens as nil without either.
TEST_F(PictureTest, WhatCannotBeReadAsAPictureOpensAsNilAndNothingIsPrinted) {
    const QByteArray shipped = FileBytes(kResources + "/Checks.png");
    ASSERT_GT(shipped.size(), 200);
    const qsizetype afterHeader = 33;  // the signature and the IHDR chunk
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
