#pragma once
// The reference scaler for the fit and view benchmarks: Qt's smooth image
// scaling of the same page, the job a program built on a toolkit would hand
// to it.
#include <QImage>

#include "image/PageRaster.h"

namespace lumipage::bench {

// The page as a 1-bit QImage over its own bits (ink is 1, shown black).
inline QImage monoImage(const PageRaster& page) {
    QImage image(page.bits(), page.width, page.height, int(page.bytesPerRow), QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    return image;
}

}  // namespace lumipage::bench
