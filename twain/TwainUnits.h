#pragma once

namespace lumipage::twain {

// Millimetres to inches, as the program has always converted them, on the
// scanner's side and the program's alike, so that a glass of a paper's size
// offers that paper.
inline constexpr double kMillimetresPerInch = 25.399;

}  // namespace lumipage::twain
