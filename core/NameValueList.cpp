#include "NameValueList.h"

#include <stdexcept>

namespace {

unsigned char FoldCase(unsigned char c) {
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c - 'A' + 'a');
    // Code page 1252: À..Þ map to à..þ, except × (0xD7); Š Œ Ž Ÿ.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A:
        return 0x9A;
    case 0x8C:
        return 0x9C;
    case 0x8E:
        return 0x9E;
    case 0x9F:
        return 0xFF;
    default:
        return c;
    }
}

} // namespace

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(static_cast<unsigned char>(a[i])) !=
            FoldCase(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

void NameValueList::Delete(std::size_t i) {
    if (i >= items_.size())
        throw std::out_of_range("NameValueList::Delete");
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
}

std::string NameValueList::Names(std::size_t i) const {
    const std::string& s = items_.at(i);
    auto eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

long NameValueList::IndexOfName(std::string_view name) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const std::string& s = items_[i];
        auto eq = s.find('=');
        if (eq != std::string::npos &&
            SameTextIgnoringCase(std::string_view(s).substr(0, eq), name))
            return static_cast<long>(i);
    }
    return -1;
}

std::string NameValueList::Values(std::string_view name) const {
    long i = IndexOfName(name);
    if (i < 0)
        return {};
    const std::string& s = items_[static_cast<std::size_t>(i)];
    return s.substr(s.find('=') + 1);
}

void NameValueList::SetValue(std::string_view name, std::string_view value) {
    long i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0)
            Delete(static_cast<std::size_t>(i));
        return;
    }
    std::string entry = std::string(name) + "=" + std::string(value);
    if (i >= 0)
        items_[static_cast<std::size_t>(i)] = std::move(entry);
    else
        items_.push_back(std::move(entry));
}
