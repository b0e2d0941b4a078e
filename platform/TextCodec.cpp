#include "platform/TextCodec.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace lumipage::text {

namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can; stops at an invalid or incomplete sequence,
    // leaving `in` at it. False on an error other than such a sequence.
    bool run(std::string_view& in, std::string& out) {
        char buffer[1024];
        while (!in.empty()) {
            char* src = const_cast<char*>(in.data());
            size_t srcLeft = in.size();
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, size_t(dst - buffer));
            in.remove_prefix(in.size() - srcLeft);
            if (r == size_t(-1) && errno != E2BIG) return errno == EILSEQ || errno == EINVAL;
        }
        return true;
    }

private:
    iconv_t cd_;
};

}  // namespace

std::string fromCp932(std::string_view cp932) {
    std::string out;
    Converter c("UTF-8", "CP932");
    if (!c.ok()) return std::string(cp932);
    while (!cp932.empty()) {
        c.run(cp932, out);
        if (!cp932.empty()) {
            out += "\xEF\xBF\xBD";  // U+FFFD for the byte that does not convert
            cp932.remove_prefix(1);
        }
    }
    return out;
}

std::optional<std::string> toCp932(std::string_view utf8) {
    std::string out;
    Converter c("CP932", "UTF-8");
    if (!c.ok()) return std::nullopt;
    if (!c.run(utf8, out) || !utf8.empty()) return std::nullopt;
    return out;
}

}  // namespace lumipage::text
