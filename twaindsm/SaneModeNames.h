#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumipage::twaindsm {

// What a backend's scan mode delivers, told from its name. SANE names the
// standard modes "Lineart", "Halftone", "Gray" and "Color"; backends spell
// them many ways ("Binary", "Black & White", "Grey", "True Gray",
// "Grayscale", "24bit Color", "Gray[Error Diffusion]" ...).
enum class ModeKind { Unknown, Lineart, Halftone, Gray, Colour };

ModeKind modeKind(std::string_view name);

// The mode of `modes` that best gives `wanted`: a plain name before one
// with a bit count or a speed in it ("Gray" before "16bit Gray").
std::optional<size_t> bestMode(const std::vector<std::string>& modes, ModeKind wanted);

}  // namespace lumipage::twaindsm
