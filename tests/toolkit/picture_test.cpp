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
#include <string>
#include <utility>
#include <vector>

#include "framework/toolkit/picture_internal.h"
#include "tests/toolkit/png_bytes.h"
#include "tests/toolkit/raised.h"

namespace {

using png_bytes::Chunk;

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

// Files whose chunks and checksums are all intact but whose image data the decoder cannot
// use; it would print "libpng error: ..." for each.
TEST_F(PictureTest, DamageBehindIntactChunksOpensAsNilAndNothingIsPrinted) {
    using namespace png_bytes;
    const QByteArray shipped = FileBytes(kResources + "/Checks.png");
    const QList<Part> parts = Parts(shipped);
    ASSERT_EQ(parts.size(), 4) << "IHDR, pHYs, IDAT, IEND";
    QByteArray badChecksum = ImageStream(parts);
    badChecksum.back() = static_cast<char>(badChecksum.back() ^ 1);  // the stream's Adler-32
    const QByteArray stream = ImageStream(parts);
    const Part firstHalf{"IDAT", stream.left(stream.size() / 2)},
        rest{"IDAT", stream.mid(stream.size() / 2)};
    std::vector<std::pair<std::string, QByteArray>> cases = {
        {"image data whose checksum is wrong", WithImageStream(shipped, badChecksum)},
        {"an unknown critical chunk", Assemble({parts[0], {"QRST", "?"}, parts[2], parts[3]})},
        {"image data split by another chunk",
         Assemble({parts[0], firstHalf, parts[1], rest, parts[3]})},
    };
    for (const Damage& damage : kImageDataDamages)
        cases.emplace_back(damage.what, damage.make(shipped));
    for (const auto& [what, bytes] : cases) {
        Serve("picture.png", bytes);
        testing::internal::CaptureStderr();
        const bool opened = static_cast<bool>(PictureOpenFromApp("picture.png"));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << what;
        EXPECT_FALSE(opened) << what;
    }
}

// A 3 x 3 grey picture stored interlaced: the seven passes hold 1, 0, 0, 1, 2, 1 + 1 and 3
// pixels, each row after its filter type byte (0, none).
QByteArray InterlacedGrey3x3() {
    const QByteArray header("\0\0\0\x03\0\0\0\x03\x08\x00\x00\x00\x01", 13);
    const QByteArray rows(
        "\0\x10"
        "\0\x30"
        "\0\x70\x90"
        "\0\x20"
        "\0\x80"
        "\0\x40\x50\x60",
        15);
    return png_bytes::Assemble(
        {{"IHDR", header}, {"IDAT", png_bytes::Deflate(rows)}, {"IEND", {}}});
}

// Pictures of each colour type and depth Qt writes, an interlaced one and one whose zlib
// header understates its window: the vetting that refuses damage lets each of them through.
TEST_F(PictureTest, IntactPicturesOfEveryKindOpenAtTheirSize) {
    const QImage::Format formats[] = {QImage::Format_Mono,       QImage::Format_Indexed8,
                                      QImage::Format_Grayscale8, QImage::Format_Grayscale16,
                                      QImage::Format_RGB32,      QImage::Format_RGBA64};
    struct Case {
        std::string what;
        QByteArray bytes;
        QSize size;
    };
    // corvane.png's rows reach further back than the 256 bytes this header claims; Qt reads it.
    const std::string corvane = kResources + "/corvane.png";
    std::vector<Case> cases = {
        {"interlaced", InterlacedGrey3x3(), QSize(3, 3)},
        {"a window too small", png_bytes::WithStreamHeader(FileBytes(corvane), 0, 8),
         QImage(QString::fromStdString(corvane)).size()}};
    for (QImage::Format format : formats) {
        QImage image(3, 3, format);
        if (format == QImage::Format_Indexed8) image.setColorTable({qRgb(0, 0, 0), qRgb(9, 9, 9)});
        image.fill(1);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG"));
        cases.push_back({"format " + std::to_string(format), bytes, QSize(3, 3)});
    }
    for (const Case& c : cases) {
        Serve("picture.png", c.bytes);
        Ref<Object> picture = PictureOpenFromApp("picture.png");
        ASSERT_TRUE(picture) << c.what;
        EXPECT_EQ(ToolkitPictureImage(picture.get())->size(), c.size) << c.what;
    }
}

}  // namespace
