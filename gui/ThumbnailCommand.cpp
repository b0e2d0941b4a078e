#include "gui/ThumbnailCommand.h"

#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/Messages.h"
#include "app/PageThumbnail.h"

namespace lumipage {

namespace {

// Thumbnails larger than this are no previews.
constexpr int kLargestSize = 4096;

}  // namespace

std::optional<int> runThumbnailFromCommandLine(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--thumbnail") != 0) return std::nullopt;
    if (argc != 5) {
        std::fprintf(stderr, "usage: lumipage --thumbnail INPUT OUTPUT.png SIZE\n");
        return 2;
    }
    char* end = nullptr;
    const long size = std::strtol(argv[4], &end, 10);
    if (!end || *end != '\0' || size <= 0 || size > kLargestSize) {
        std::fprintf(stderr, "lumipage: SIZE must be 1 to %d\n", kLargestSize);
        return 2;
    }
    StderrMessages messages;
    GreyPicture picture;
    if (!makePageThumbnail(argv[2], int(size), messages, picture)) return 1;
    const QImage image(picture.pixels.data(), picture.width, picture.height, picture.width,
                       QImage::Format_Grayscale8);
    // The desktop's thumbnail cache reads PNG; a fast compression level keeps previews quick.
    return image.save(QString::fromLocal8Bit(argv[3]), "PNG", 50) ? 0 : 1;
}

}  // namespace lumipage
