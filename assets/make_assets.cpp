// SPDX-License-Identifier: GPL-3.0-or-later
// make_assets <out-dir>: draws the quiz's pictures and icon and writes them as the files
// that the build compiles into the program.

#include "pictures.h"

#include <QByteArray>
#include <QDataStream>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIODevice>
#include <QSaveFile>
#include <QString>

#include <array>
#include <cstdio>
#include <span>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

struct Failure : std::runtime_error {
    explicit Failure(const QString &message) : std::runtime_error(message.toStdString()) {}
};

constexpr std::array<QStringView, 2> kFontFiles{u"LiberationSans-Regular.ttf",
                                                u"LiberationSans-Bold.ttf"};

// The pictures draw with "Liberation Sans" by name; registering the files makes sure that
// name is these fonts, whatever else the build machine has installed.
void registerFonts(const QDir &fontDir)
{
    for (QStringView file : kFontFiles) {
        const QString path = fontDir.filePath(file.toString());
        const int id = QFontDatabase::addApplicationFont(path);
        if (id < 0 || !QFontDatabase::applicationFontFamilies(id).contains(u"Liberation Sans"_s)) {
            throw Failure(u"cannot load the font %1 (is fonts-liberation2 installed?)"_s.arg(path));
        }
    }
}

struct PictureFile {
    QStringView name;
    QImage (*paint)();
};

constexpr std::array kPictureFiles{
    PictureFile{u"title.bmp", &assets::paintTitlePicture},
    PictureFile{u"worksheet.bmp", &assets::paintWorksheetPicture},
    PictureFile{u"spreadsheet.bmp", &assets::paintSpreadsheetPicture},
};

struct IconFile {
    QStringView name;
    assets::IconImage image;
    int scale;  // whole numbers only, so enlarging keeps the pixel art sharp
};

constexpr std::array kIconFiles{
    IconFile{u"icon-16.png", assets::IconImage::Colour16, 1},
    IconFile{u"icon-32.png", assets::IconImage::Colour32, 1},
    IconFile{u"icon-32-mono.png", assets::IconImage::Mono32, 1},
    IconFile{u"icon-48.png", assets::IconImage::Colour16, 3},
    IconFile{u"icon-64.png", assets::IconImage::Colour32, 2},
    IconFile{u"icon-128.png", assets::IconImage::Colour32, 4},
};

constexpr std::array<QRgb, 2> kMonoPalette{0x000000, 0xFFFFFF};
constexpr std::array<QRgb, 16> kVgaPalette{
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

struct IcoImage {
    assets::IconImage image;
    int bitCount;
    std::span<const QRgb> palette;
};

constexpr std::array kIcoImages{
    IcoImage{assets::IconImage::Mono32, 1, kMonoPalette},
    IcoImage{assets::IconImage::Colour32, 4, kVgaPalette},
    IcoImage{assets::IconImage::Colour16, 4, kVgaPalette},
};

[[nodiscard]] QImage enlarged(const QImage &image, int scale)
{
    QImage result(image.size() * scale, image.format());
    for (int y = 0; y < result.height(); ++y) {
        for (int x = 0; x < result.width(); ++x) {
            result.setPixel(x, y, image.pixel(x / scale, y / scale));
        }
    }
    return result;
}

[[nodiscard]] bool isTransparent(QRgb pixel)
{
    if (qAlpha(pixel) != 0 && qAlpha(pixel) != 255) {
        throw Failure(u"the icon has a partly transparent pixel, which an icon mask cannot hold"_s);
    }
    return qAlpha(pixel) == 0;
}

[[nodiscard]] quint8 paletteIndex(QRgb pixel, std::span<const QRgb> palette)
{
    for (std::size_t i = 0; i < palette.size(); ++i) {
        if (palette[i] == (pixel & 0xFFFFFF)) {
            return quint8(i);
        }
    }
    throw Failure(u"the icon colour #%1 is not in its palette"_s.arg(uint(pixel & 0xFFFFFF), 6, 16,
                                                                     QChar(u'0')));
}

// Rows of a device-independent bitmap run bottom-up and are padded to 4 bytes; the
// leftmost pixel takes the most significant bits of its byte.
[[nodiscard]] QByteArray packedRows(const QImage &image, int bitCount, auto valueOf)
{
    const int stride = (image.width() * bitCount + 31) / 32 * 4;
    const int perByte = 8 / bitCount;
    QByteArray rows(stride * image.height(), '\0');
    for (int y = 0; y < image.height(); ++y) {
        char *row = rows.data() + stride * (image.height() - 1 - y);
        for (int x = 0; x < image.width(); ++x) {
            const int shift = 8 - bitCount * (x % perByte + 1);
            row[x / perByte] =
                char(quint8(row[x / perByte]) | quint8(valueOf(image.pixel(x, y)) << shift));
        }
    }
    return rows;
}

// One icon image: BITMAPINFOHEADER (its height counts the XOR bitmap and the AND mask),
// palette, XOR bitmap, AND mask (set where transparent, and then the XOR pixel is 0).
[[nodiscard]] QByteArray iconBitmap(const QImage &image, const IcoImage &format)
{
    const QByteArray xorBits = packedRows(image, format.bitCount, [&format](QRgb pixel) {
        return isTransparent(pixel) ? quint8(0) : paletteIndex(pixel, format.palette);
    });
    const QByteArray andBits =
        packedRows(image, 1, [](QRgb pixel) { return quint8(isTransparent(pixel) ? 1 : 0); });

    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(40) << qint32(image.width()) << qint32(image.height() * 2) << quint16(1)
        << quint16(format.bitCount) << quint32(0) << quint32(xorBits.size() + andBits.size())
        << qint32(0) << qint32(0) << quint32(0) << quint32(0);
    for (QRgb colour : format.palette) {
        out << quint8(qBlue(colour)) << quint8(qGreen(colour)) << quint8(qRed(colour)) << quint8(0);
    }
    out.writeRawData(xorBits.constData(), int(xorBits.size()));
    out.writeRawData(andBits.constData(), int(andBits.size()));
    return bytes;
}

[[nodiscard]] QByteArray icoFile()
{
    QByteArray header;
    QByteArray bitmaps;
    QDataStream out(&header, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(kIcoImages.size());
    const int firstOffset = 6 + 16 * int(kIcoImages.size());
    for (const IcoImage &format : kIcoImages) {
        const QImage image = assets::paintIcon(format.image);
        const QByteArray bitmap = iconBitmap(image, format);
        out << quint8(image.width()) << quint8(image.height()) << quint8(format.palette.size())
            << quint8(0) << quint16(1) << quint16(format.bitCount) << quint32(bitmap.size())
            << quint32(firstOffset + bitmaps.size());
        bitmaps += bitmap;
    }
    return header + bitmaps;
}

void saveImage(const QImage &image, const QString &path)
{
    if (image.isNull() || !image.save(path)) {
        throw Failure(u"cannot write %1"_s.arg(path));
    }
}

void saveBytes(const QByteArray &bytes, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw Failure(u"cannot write %1: %2"_s.arg(path, file.errorString()));
    }
}

void writeAssets(const QDir &outDir)
{
    for (const PictureFile &picture : kPictureFiles) {
        // 24-bit whatever the drawing used: the quiz shows these as 24-bit bitmaps.
        saveImage(picture.paint().convertToFormat(QImage::Format_RGB888),
                  outDir.filePath(picture.name.toString()));
    }
    for (const IconFile &icon : kIconFiles) {
        saveImage(enlarged(assets::paintIcon(icon.image), icon.scale),
                  outDir.filePath(icon.name.toString()));
    }
    saveBytes(icoFile(), outDir.filePath(u"refs-quiz.ico"_s));
}

}  // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 3) {
        std::fputs("usage: make_assets <out-dir> <liberation-sans-dir>\n", stderr);
        return 2;
    }
    try {
        const QDir outDir(arguments.at(1));
        if (!outDir.mkpath(u"."_s)) {
            throw Failure(u"cannot create the directory %1"_s.arg(outDir.path()));
        }
        registerFonts(QDir(arguments.at(2)));
        writeAssets(outDir);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "make_assets: %s\n", error.what());
        return 1;
    }
    return 0;
}
