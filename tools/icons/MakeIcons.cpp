// Draws the program's icon: a scalable SVG and PNGs of the usual sizes from
// one description, so that every size shows the same picture.
//   lumipage_icons OUTPUT_FOLDER NAME   writes OUTPUT_FOLDER/scalable/apps/NAME.svg
//                                       and OUTPUT_FOLDER/SxS/apps/NAME.png
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The picture on a 256 x 256 canvas: a sheet with a folded corner, lines of
// text on it and a fax-blue band along its foot.
struct Shape {
    enum Kind { Sheet, Fold, Line, Band } kind;
    double x, y, w, h;
};

constexpr unsigned kInk = 0x202020;
constexpr unsigned kPaper = 0xFFFFFF;
constexpr unsigned kBand = 0x2A6FB8;
constexpr double kCorner = 48;

std::vector<Shape> picture() {
    std::vector<Shape> shapes{{Shape::Sheet, 40, 16, 176, 224}, {Shape::Fold, 168, 16, kCorner, kCorner}};
    const double lengths[] = {96, 136, 120, 136, 88, 128, 104};
    for (int i = 0; i < 7; ++i) shapes.push_back({Shape::Line, 64, 76 + i * 18.0, lengths[i], 8});
    shapes.push_back({Shape::Band, 40, 204, 176, 36});
    return shapes;
}

std::string hex(unsigned rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", rgb);
    return text;
}

std::string svg() {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n";
    auto n = [](double v) { return std::to_string(int(v)); };
    for (const Shape& s : picture()) {
        switch (s.kind) {
            case Shape::Sheet:
                out += "  <path d=\"M" + n(s.x) + " " + n(s.y) + " H" + n(s.x + s.w - kCorner) + " L" + n(s.x + s.w) +
                       " " + n(s.y + kCorner) + " V" + n(s.y + s.h) + " H" + n(s.x) + " Z\" fill=\"" + hex(kPaper) +
                       "\" stroke=\"" + hex(kInk) + "\" stroke-width=\"8\" stroke-linejoin=\"round\"/>\n";
                break;
            case Shape::Fold:
                out += "  <path d=\"M" + n(s.x) + " " + n(s.y) + " V" + n(s.y + s.h) + " H" + n(s.x + s.w) +
                       "\" fill=\"none\" stroke=\"" + hex(kInk) + "\" stroke-width=\"8\" stroke-linejoin=\"round\"/>\n";
                break;
            case Shape::Line:
                out += "  <rect x=\"" + n(s.x) + "\" y=\"" + n(s.y) + "\" width=\"" + n(s.w) + "\" height=\"" + n(s.h) +
                       "\" fill=\"" + hex(kInk) + "\"/>\n";
                break;
            case Shape::Band:
                out += "  <rect x=\"" + n(s.x) + "\" y=\"" + n(s.y) + "\" width=\"" + n(s.w) + "\" height=\"" + n(s.h) +
                       "\" fill=\"" + hex(kBand) + "\" stroke=\"" + hex(kInk) + "\" stroke-width=\"8\"/>\n";
                break;
        }
    }
    return out + "</svg>\n";
}

QImage png(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    const QPen outline(QColor::fromRgb(kInk), 8, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin);
    for (const Shape& s : picture()) {
        switch (s.kind) {
            case Shape::Sheet: {
                QPainterPath path;
                path.moveTo(s.x, s.y);
                path.lineTo(s.x + s.w - kCorner, s.y);
                path.lineTo(s.x + s.w, s.y + kCorner);
                path.lineTo(s.x + s.w, s.y + s.h);
                path.lineTo(s.x, s.y + s.h);
                path.closeSubpath();
                p.setPen(outline);
                p.setBrush(QColor::fromRgb(kPaper));
                p.drawPath(path);
                break;
            }
            case Shape::Fold: {
                QPainterPath path;
                path.moveTo(s.x, s.y);
                path.lineTo(s.x, s.y + s.h);
                path.lineTo(s.x + s.w, s.y + s.h);
                p.setPen(outline);
                p.setBrush(Qt::NoBrush);
                p.drawPath(path);
                break;
            }
            case Shape::Line:
                p.setPen(Qt::NoPen);
                p.setBrush(QColor::fromRgb(kInk));
                p.drawRect(QRectF(s.x, s.y, s.w, s.h));
                break;
            case Shape::Band:
                p.setPen(outline);
                p.setBrush(QColor::fromRgb(kBand));
                p.drawRect(QRectF(s.x, s.y, s.w, s.h));
                break;
        }
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: lumipage_icons OUTPUT_FOLDER NAME\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    if (!QDir().mkpath(folder + "/scalable/apps")) return 1;
    std::ofstream(QString(folder + "/scalable/apps/" + name + ".svg").toStdString()) << svg();
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString dir = folder + QString("/%1x%1/apps").arg(size);
        if (!QDir().mkpath(dir) || !png(size).save(dir + "/" + name + ".png")) return 1;
    }
    return 0;
}
