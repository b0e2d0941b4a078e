#pragma once
#include <sane/sane.h>

#include <optional>
#include <string>
#include <vector>

namespace lumipage::twaindsm {

// The options of an open SANE device, found by their well-known names, with
// numbers read and written whatever the option's type (integer or fixed).
class SaneOptions {
public:
    struct Limits {
        double minimum = 0;
        double maximum = 0;
        double step = 0;
        std::vector<double> list;  // a word list constraint, else empty
    };

    explicit SaneOptions(SANE_Handle handle) : handle_(handle) {}

    // The option's index, or 0 when the device has no active option of that name.
    int find(const char* name) const;
    const SANE_Option_Descriptor* descriptor(int index) const;

    std::optional<double> number(int index) const;
    // Sets the nearest allowed value; false when the device refuses.
    bool setNumber(int index, double value);
    std::optional<Limits> limits(int index) const;
    SANE_Unit unit(int index) const;

    std::vector<std::string> strings(int index) const;  // a string list constraint
    std::optional<std::string> text(int index) const;
    bool setText(int index, const std::string& value);

private:
    double fromWord(const SANE_Option_Descriptor* d, SANE_Word word) const;
    SANE_Word toWord(const SANE_Option_Descriptor* d, double value) const;

    SANE_Handle handle_;
};

}  // namespace lumipage::twaindsm
