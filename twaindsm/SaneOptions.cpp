#include "twaindsm/SaneOptions.h"

#include <cmath>
#include <cstring>

namespace lumipage::twaindsm {

const SANE_Option_Descriptor* SaneOptions::descriptor(int index) const {
    return index > 0 ? sane_get_option_descriptor(handle_, index) : nullptr;
}

int SaneOptions::find(const char* name) const {
    SANE_Int count = 0;
    if (sane_control_option(handle_, 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD) return 0;
    for (int i = 1; i < count && i < 10000; ++i) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(handle_, i);
        if (d && d->name && std::strcmp(d->name, name) == 0 && SANE_OPTION_IS_ACTIVE(d->cap)) return i;
    }
    return 0;
}

double SaneOptions::fromWord(const SANE_Option_Descriptor* d, SANE_Word word) const {
    return d->type == SANE_TYPE_FIXED ? SANE_UNFIX(word) : double(word);
}

SANE_Word SaneOptions::toWord(const SANE_Option_Descriptor* d, double value) const {
    return d->type == SANE_TYPE_FIXED ? SANE_FIX(value) : SANE_Word(std::lround(value));
}

std::optional<double> SaneOptions::number(int index) const {
    const SANE_Option_Descriptor* d = descriptor(index);
    if (!d || (d->type != SANE_TYPE_INT && d->type != SANE_TYPE_FIXED && d->type != SANE_TYPE_BOOL)) return std::nullopt;
    if (d->size < SANE_Int(sizeof(SANE_Word))) return std::nullopt;
    std::vector<SANE_Word> words(size_t(d->size) / sizeof(SANE_Word) + 1);
    if (sane_control_option(handle_, index, SANE_ACTION_GET_VALUE, words.data(), nullptr) != SANE_STATUS_GOOD)
        return std::nullopt;
    return fromWord(d, words[0]);
}

std::optional<SaneOptions::Limits> SaneOptions::limits(int index) const {
    const SANE_Option_Descriptor* d = descriptor(index);
    if (!d || (d->type != SANE_TYPE_INT && d->type != SANE_TYPE_FIXED)) return std::nullopt;
    Limits l;
    if (d->constraint_type == SANE_CONSTRAINT_RANGE && d->constraint.range) {
        l.minimum = fromWord(d, d->constraint.range->min);
        l.maximum = fromWord(d, d->constraint.range->max);
        l.step = fromWord(d, d->constraint.range->quant);
        return l;
    }
    if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST && d->constraint.word_list) {
        const SANE_Word count = d->constraint.word_list[0];
        for (SANE_Word i = 1; i <= count && i < 4096; ++i) l.list.push_back(fromWord(d, d->constraint.word_list[i]));
        if (l.list.empty()) return std::nullopt;
        l.minimum = l.list.front();
        l.maximum = l.list.back();
        return l;
    }
    return std::nullopt;
}

SANE_Unit SaneOptions::unit(int index) const {
    const SANE_Option_Descriptor* d = descriptor(index);
    return d ? d->unit : SANE_UNIT_NONE;
}

bool SaneOptions::setNumber(int index, double value) {
    const SANE_Option_Descriptor* d = descriptor(index);
    if (!d || (d->type != SANE_TYPE_INT && d->type != SANE_TYPE_FIXED && d->type != SANE_TYPE_BOOL)) return false;
    if (!SANE_OPTION_IS_SETTABLE(d->cap)) return false;
    if (auto l = limits(index)) {
        if (!l->list.empty()) {
            double best = l->list.front();
            for (double v : l->list)
                if (std::fabs(v - value) < std::fabs(best - value)) best = v;
            value = best;
        } else {
            value = std::fmin(std::fmax(value, l->minimum), l->maximum);
        }
    }
    std::vector<SANE_Word> words(size_t(std::max<SANE_Int>(d->size, sizeof(SANE_Word))) / sizeof(SANE_Word), toWord(d, value));
    SANE_Int info = 0;
    return sane_control_option(handle_, index, SANE_ACTION_SET_VALUE, words.data(), &info) == SANE_STATUS_GOOD;
}

std::vector<std::string> SaneOptions::strings(int index) const {
    std::vector<std::string> list;
    const SANE_Option_Descriptor* d = descriptor(index);
    if (!d || d->type != SANE_TYPE_STRING || d->constraint_type != SANE_CONSTRAINT_STRING_LIST) return list;
    for (const SANE_String_Const* s = d->constraint.string_list; s && *s && list.size() < 256; ++s) list.emplace_back(*s);
    return list;
}

std::optional<std::string> SaneOptions::text(int index) const {
    const SANE_Option_Descriptor* d = descriptor(index);
    if (!d || d->type != SANE_TYPE_STRING || d->size <= 0) return std::nullopt;
    std::vector<char> value(size_t(d->size) + 1, 0);
    if (sane_control_option(handle_, index, SANE_ACTION_GET_VALUE, value.data(), nullptr) != SANE_STATUS_GOOD)
        return std::nullopt;
    return std::string(value.data());
}

bool SaneOptions::setText(int index, const std::string& value) {
    const SANE_Option_Descriptor* d = descriptor(index);
    if (!d || d->type != SANE_TYPE_STRING || !SANE_OPTION_IS_SETTABLE(d->cap)) return false;
    if (value.size() + 1 > size_t(d->size)) return false;
    std::vector<char> buffer(size_t(d->size), 0);
    std::memcpy(buffer.data(), value.data(), value.size());
    SANE_Int info = 0;
    return sane_control_option(handle_, index, SANE_ACTION_SET_VALUE, buffer.data(), &info) == SANE_STATUS_GOOD;
}

}  // namespace lumipage::twaindsm
