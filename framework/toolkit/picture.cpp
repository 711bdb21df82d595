// Picture: a QImage in a framework object. Pictures are opened by file name from the
// application's resource folder; what cannot be read as a picture opens as nil, never as a
// crash and without a word on standard error: a missing, empty, truncated, damaged or
// oversized file, or one that is no image at all.
#include "framework/toolkit/picture.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "framework/toolkit/picture_internal.h"
#include "framework/toolkit/png_check.h"
#include "framework/toolkit/qt_values.h"
#include "framework/toolkit/toolkit_testing.h"

namespace {

ClassCell gPicture{nullptr, &Picture::dunder_ctblinit};

constexpr int32_t kImageOffset = -8;  // QImage*
constexpr uint32_t kPictureSize = 8;

// Limits of what a file may hold: beyond them it is refused before it is decoded.
constexpr qint64 kMaxFileBytes = 64ll * 1024 * 1024;
constexpr qint64 kMaxPixels = 64ll * 1024 * 1024;
constexpr int kMaxSide = 32768;

std::string& ResourceFolderOverride() {
    static auto* folder = new std::string();
    return *folder;
}

QImage*& ImageOf(Object* picture) {
    return RuntimeRequire(picture)->Field<QImage*>(kImageOffset);
}

void PictureInit(Object* picture) {
    picture->Field<QImage*>(kImageOffset) = new QImage();
}
void PictureExit(Object* picture) {
    delete std::exchange(picture->Field<QImage*>(kImageOffset), nullptr);
}

QString ExecutableFolder() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? QString() : QString::fromStdString(exe.parent_path().string());
}

// The folders searched, in order: the override, or the build tree's and the installed one.
QStringList ResourceFolders() {
    if (!ResourceFolderOverride().empty())
        return {QString::fromStdString(ResourceFolderOverride())};
    QString exe = ExecutableFolder();
    if (exe.isEmpty()) return {};
    return {exe + QStringLiteral("/resources"),
            exe + QStringLiteral("/../share/corvane-conversion")};
}

// A bare file name: no folder part, no way out of the resource folder.
bool IsBareFileName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) && !name.contains(QLatin1String("..")) &&
           name != QLatin1String(".");
}

bool WithinLimits(qint64 width, qint64 height) {
    return width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

// While a picture is decoded, the warnings that the PNG decoder passes to Qt's log (a chunk it
// skips, a colour profile it distrusts) are dropped: the picture opens or opens as nil, and
// nothing is printed about it. Every other message goes on to the handler installed before.
class QuietImageDecoding {
  public:
    QuietImageDecoding() { previous = qInstallMessageHandler(&Filter); }
    ~QuietImageDecoding() { qInstallMessageHandler(std::exchange(previous, nullptr)); }
    QuietImageDecoding(const QuietImageDecoding&) = delete;
    QuietImageDecoding& operator=(const QuietImageDecoding&) = delete;

  private:
    static constexpr std::string_view kImageCategory = "qt.gui.imageio";
    static inline QtMessageHandler previous = nullptr;

    static void Filter(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (context.category && std::string_view(context.category) == kImageCategory) return;
        if (previous) previous(type, context, text);
    }
};

// The image in `path`, or a null image when the file cannot be read as a picture. The file is
// read once; a PNG that is cut short or damaged, in its chunks or in its image data, is refused
// before Qt decodes it.
QImage ReadImage(const QString& path) {
    QFileInfo info(path);
    if (!info.isFile() || info.size() <= 0 || info.size() > kMaxFileBytes) return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (bytes.isEmpty() || bytes.size() > kMaxFileBytes) return {};
    const std::string_view view(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (PngHasSignature(view)) {
        const std::optional<PngSize> png = PngIntactSize(view);
        if (!png || !WithinLimits(png->width, png->height) || !PngDecodesWithoutError(view))
            return {};
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QuietImageDecoding quiet;
    QImageReader reader(&buffer);
    if (!reader.canRead()) return {};
    const QSize size = reader.size();
    if (size.isValid() && !WithinLimits(size.width(), size.height())) return {};
    QImage image = reader.read();
    if (image.isNull() || !WithinLimits(image.width(), image.height())) return {};
    return image;
}

Ref<Object> NewPicture(QImage image) {
    Ref<Object> picture = RuntimeNewObject(Picture::dunder_Lookup());
    *ImageOf(picture.get()) = std::move(image);
    return picture;
}

// Constructor(width, height): a transparent picture of that size.
void Construct(Object* picture, int64_t width, int64_t height) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        RuntimeRaiseNew(OutOfBoundsException::dunder_Lookup(),
                        "a picture is 1 to " + std::to_string(kMaxSide) + " pixels wide and high");
    QImage image(static_cast<int>(width), static_cast<int>(height),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    *ImageOf(picture) = std::move(image);
}

int64_t DepthGetter(Object* picture, int32_t) {
    return ImageOf(picture)->depth();
}
int64_t HeightGetter(Object* picture, int32_t) {
    return RuntimePictureHeight(picture);
}
int64_t WidthGetter(Object* picture, int32_t) {
    return RuntimePictureWidth(picture);
}
// Dots per inch, from the image's dots per metre.
double HorizontalResolutionGetter(Object* picture, int32_t) {
    return ImageOf(picture)->dotsPerMeterX() * 0.0254;
}
double VerticalResolutionGetter(Object* picture, int32_t) {
    return ImageOf(picture)->dotsPerMeterY() * 0.0254;
}

}  // namespace

Ref<Object> PictureOpenFromApp(String fileName) {
    QString name = ToQString(fileName);
    if (!IsBareFileName(name)) return nullptr;
    for (const QString& folder : ResourceFolders()) {
        QString path = QDir(folder).filePath(name);
        if (!QFileInfo(path).exists()) continue;
        QImage image = ReadImage(path);
        return image.isNull() ? nullptr : NewPicture(std::move(image));
    }
    return nullptr;
}

int64_t RuntimePictureWidth(Object* picture) {
    return ImageOf(picture)->width();
}
int64_t RuntimePictureHeight(Object* picture) {
    return ImageOf(picture)->height();
}

void ToolkitSetResourceFolder(const std::string& folder) {
    ResourceFolderOverride() = folder;
}

const QImage* ToolkitPictureImage(Object* picture) {
    if (!picture || !RuntimeObjectIsa(picture, Picture::dunder_Lookup())) return nullptr;
    return picture->Field<QImage*>(kImageOffset);
}

void Picture::dunder_ctblinit() {
    // clang-format off
    // Method entries: name, flags, signature text, function, slot.
    static const MethodRow Picture_methods[] = {
        Method("Constructor",        kPublicVirtual, "%%i8i8",        &Construct, 0),
        SharedMethod("_OpenFromApp", kPublicShared,  "%o<Picture>%s", &PictureOpenFromApp),
        Method("__Exit",             kPrivateHidden, "%%",            &PictureExit),
        Method("__Init",             kPrivateHidden, "%%",            &PictureInit),
    };
    // clang-format off
    // clang-format on
    // Properties, all read-only: name, type, getter.
    static const PropertyRow Picture_properties[] = {
        ComputedProperty<int64_t>("Depth", kComputedReadOnly, "i8", &DepthGetter, nullptr),
        ComputedProperty<int64_t>("Height", kComputedReadOnly, "i8", &HeightGetter, nullptr),
        ComputedProperty<double>("HorizontalResolution", kComputedReadOnly, "f8",
                                 &HorizontalResolutionGetter, nullptr),
        ComputedProperty<double>("VerticalResolution", kComputedReadOnly, "f8",
                                 &VerticalResolutionGetter, nullptr),
        ComputedProperty<int64_t>("Width", kComputedReadOnly, "i8", &WidthGetter, nullptr),
        ReadOnlyStoredProperty<void*>("_mImp", kPrivateHidden, "p", kImageOffset),
    };
    // clang-format on
    static const ClassSpec spec{.name = "Picture",
                                .superclass = nullptr,
                                .methodCount = 4,
                                .interfaceCount = 0,
                                .eventCount = 0,
                                .propertyCount = 6,
                                .instanceDataSize = kPictureSize,
                                .slotCount = 1,
                                .init = &PictureInit,
                                .exit = &PictureExit,
                                .methods = Picture_methods,
                                .properties = Picture_properties};
    RuntimeBuildClass(gPicture, spec);
}

ClassRecord* Picture::dunder_Lookup() {
    return RuntimeLookupClass(gPicture);
}
