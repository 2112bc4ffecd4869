// Makes the pictures of bench/pictures.sh in a folder: 20000 x 20000 pixels
// each as PNG (three copies), JPEG and GIF, an SVG of nested <use> elements,
// and pages that show them. Their files are small; decoded, each takes 1.6 GB.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>

#include <cstdio>

namespace {

constexpr int Side = 20000;

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool writeImage(const QImage &image, const QString &path, const char *format)
{
    QImageWriter writer(path, format);
    return writer.write(image);
}

QByteArray le16(int v)
{
    return QByteArray(1, char(v & 0xff)) + char((v >> 8) & 0xff);
}

// One frame of Side x Side whose data codes one pixel (clear, 0, end): the
// decoder still makes room for every pixel of the frame.
QByteArray gif()
{
    QByteArray g = "GIF89a" + le16(Side) + le16(Side);
    g += char(0x80); // a global table of 2 colours
    g += char(0) + QByteArray(1, char(0));
    g += QByteArray("\x00\x00\x00\xff\xff\xff", 6);
    g += ',' + le16(0) + le16(0) + le16(Side) + le16(Side) + char(0);
    g += char(2); // least code size
    // Codes 4 (clear), 0, 5 (end) of 3 bits each, low bits first.
    const unsigned bits = 4u | (0u << 3) | (5u << 6);
    g += char(2) + QByteArray(1, char(bits & 0xff)) + char((bits >> 8) & 0xff);
    g += char(0);
    g += ';';
    return g;
}

// Each level draws the one below ten times: 10^depth rectangles from a few KB.
QByteArray nestedSvg(int depth)
{
    QByteArray s = "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\""
                   " width=\"1000\" height=\"1000\"><defs><rect id=\"l0\" width=\"1\" height=\"1\"/>";
    for (int level = 1; level <= depth; ++level) {
        s += "<g id=\"l" + QByteArray::number(level) + "\">";
        for (int i = 0; i < 10; ++i)
            s += "<use xlink:href=\"#l" + QByteArray::number(level - 1) + "\" x=\"" + QByteArray::number(i) + "\"/>";
        s += "</g>";
    }
    s += "</defs><use xlink:href=\"#l" + QByteArray::number(depth) + "\"/></svg>";
    return s;
}

QByteArray page(const QStringList &pictures)
{
    QByteArray p = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>pictures</title></head><body>";
    for (const QString &picture : pictures)
        p += "<img src=\"" + picture.toUtf8() + "\">";
    return p + "</body></html>";
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_makepictures FOLDER [SVG_DEPTH]\n");
        return 2;
    }
    const QDir dir(args.at(1));
    const int depth = args.value(2, QStringLiteral("6")).toInt();
    if (!QDir().mkpath(dir.path()))
        return 1;
    bool ok = true;
    {
        QImage mono(Side, Side, QImage::Format_Mono);
        mono.fill(0);
        for (const char *name : {"big1.png", "big2.png", "big3.png"})
            ok = ok && writeImage(mono, dir.filePath(QString::fromLatin1(name)), "png");
    }
    {
        QImage gray(Side, Side, QImage::Format_Grayscale8);
        gray.fill(128);
        ok = ok && writeImage(gray, dir.filePath(QStringLiteral("big.jpg")), "jpeg");
    }
    ok = ok && write(dir.filePath(QStringLiteral("big.gif")), gif());
    ok = ok && write(dir.filePath(QStringLiteral("nested.svg")), nestedSvg(depth));
    ok = ok && write(dir.filePath(QStringLiteral("three.html")), page({"big1.png", "big2.png", "big3.png"}));
    ok = ok && write(dir.filePath(QStringLiteral("one.html")), page({"big1.png"}));
    ok = ok && write(dir.filePath(QStringLiteral("jpeg.html")), page({"big.jpg"}));
    ok = ok && write(dir.filePath(QStringLiteral("gif.html")), page({"big.gif"}));
    return ok ? 0 : 1;
}
