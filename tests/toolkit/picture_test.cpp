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

// A PNG whose header claims a picture of width × height and whose data is missing.
QByteArray PngHeaderClaiming(uint32_t width, uint32_t height) {
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray chunk("IHDR");
    char size[8];
    qToBigEndian(width, size);
    qToBigEndian(height, size + 4);
    chunk.append(size, 8);
    chunk.append("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, no filter, no interlace
    char length[4], crc[4];
    qToBigEndian(uint32_t{13}, length);
    qToBigEndian(Crc32(chunk), crc);
    png.append(length, 4).append(chunk).append(crc, 4);
    return png;
}

TEST_F(PictureTest, NamesThatReachOutsideTheFolderOpenNothing) {
    ToolkitSetResourceFolder(kResources + "/../resources");
    for (const char* name : {"../resources/Checks.png", "./Checks.png", "sub/Checks.png",
                             "..\\Checks.png", "..", ".", "", "/etc/hostname"})
        EXPECT_FALSE(PictureOpenFromApp(name)) << name;
    EXPECT_TRUE(PictureOpenFromApp("Checks.png"));
}

struct UnreadableCase {
    const char* what;
    QByteArray bytes;
};

TEST_F(PictureTest, WhatCannotBeReadAsAPictureOpensAsNil) {
    QByteArray shipped = FileBytes(kResources + "/corvane.png");
    ASSERT_GT(shipped.size(), 200);
    const UnreadableCase cases[] = {
        {"an empty file", QByteArray()},
        {"text", QByteArray("Pearson r to Fisher z\n")},
        {"noise", QByteArray(4096, '\x5a')},
        {"a truncated picture", shipped.left(120)},
        {"a picture that claims 60000 x 60000 pixels", PngHeaderClaiming(60000, 60000)},
        {"a picture that claims 2^31 - 1 pixels across", PngHeaderClaiming(0x7FFFFFFF, 1)},
    };
    for (const UnreadableCase& c : cases) {
        Serve("broken.png", c.bytes);
        EXPECT_FALSE(PictureOpenFromApp("broken.png")) << c.what;
    }
    EXPECT_FALSE(PictureOpenFromApp("missing.png"));
}

}  // namespace
