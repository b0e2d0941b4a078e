// A file manager's preview: page 1 of an A4 page at 300 dpi stored as T.6
// TIFF, read, decoded and reduced into a grey picture of at most 256 pixels.
#include <benchmark/benchmark.h>

#include "base/Messages.h"
#include "app/PageThumbnail.h"
#include "support/LibtiffFiles.h"
#include "support/TestImages.h"

namespace {

using namespace lumipage;

void BM_ThumbnailOfG4Page(benchmark::State& state) {
    static const std::string path = [] {
        const PageRaster page = test::makePage(test::Pattern::Text, 2480, 3508, 1);
        const std::string p = test::tempFolder() + "/page.tif";
        test::writeTiffWithLibtiff(p, {{&page, 4, false, false, false, 0, 300, 300}});
        return p;
    }();
    StderrMessages messages;
    for (auto _ : state) {
        GreyPicture picture;
        benchmark::DoNotOptimize(makePageThumbnail(path, int(state.range(0)), messages, picture));
    }
}
BENCHMARK(BM_ThumbnailOfG4Page)->Arg(128)->Arg(256)->Unit(benchmark::kMillisecond);

}  // namespace
