#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "image/PageRaster.h"

namespace lumipage::test {

// A page as the simulated modem received it, decoded by netpbm's g3topbm
// (fax data travels least significant bit first, hence -reversebits). An
// empty raster when g3topbm cannot be run or rejects the data; its
// complaints are in `errors` when given.
PageRaster decodeReceivedFax(const std::vector<uint8_t>& data, std::string* errors = nullptr);

// A page as the program fits it onto a fax page (turned when landscape).
PageRaster fittedFaxPage(const PageRaster& page);

// Checks, as gtest expectations, that each received page decodes to exactly
// the fax page size and equals the page that was meant to be sent.
void expectReceivedPages(const std::vector<std::vector<uint8_t>>& received,
                         const std::vector<const PageRaster*>& sent);

}  // namespace lumipage::test
