#include "support/ReceivedFax.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "image/FitScaler.h"
#include "support/TestImages.h"

namespace lumipage::test {

PageRaster decodeReceivedFax(const std::vector<uint8_t>& data, std::string* errors) {
    static int counter = 0;
    const std::string base = tempFolder() + "/received" + std::to_string(++counter);
    PageRaster page;
    {
        std::ofstream out(base + ".g3", std::ios::binary);
        out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
        if (!out) return page;
    }
    const int status =
        runCommand("g3topbm -reversebits '" + base + ".g3' > '" + base + ".pbm' 2> '" + base + ".err'");
    if (errors) {
        std::ifstream in(base + ".err");
        std::stringstream text;
        text << in.rdbuf();
        *errors = text.str();
    }
    if (status == 0) readPbm(base + ".pbm", page);
    return page;
}

PageRaster fittedFaxPage(const PageRaster& page) {
    PageRaster fitted;
    fitted.setSize(FitScaler::kFaxWidth, FitScaler::kFaxHeight);
    FitScaler scaler;
    scaler.fitIntoRaster(page, std::nullopt, fitted, std::nullopt, page.width > page.height);
    return fitted;
}

void expectReceivedPages(const std::vector<std::vector<uint8_t>>& received,
                         const std::vector<const PageRaster*>& sent) {
    ASSERT_EQ(received.size(), sent.size());
    for (size_t i = 0; i < sent.size(); ++i) {
        std::string errors;
        const PageRaster decoded = decodeReceivedFax(received[i], &errors);
        ASSERT_EQ(decoded.width, FitScaler::kFaxWidth) << "page " << i + 1 << ": " << errors;
        EXPECT_EQ(decoded.height, FitScaler::kFaxHeight) << "page " << i + 1 << ": " << errors;
        EXPECT_EQ(firstDifferentRow(decoded, *sent[i]), -1) << "page " << i + 1;
    }
}

}  // namespace lumipage::test
