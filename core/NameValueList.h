// An ordered, unsorted list of "name=value" strings; duplicates allowed.
// Names are compared without regard to letter case: ASCII and the letters of
// the Windows Western code page (1252), in which track files store their text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class NameValueList {
  public:
    std::size_t Count() const { return items_.size(); }
    void Clear() { items_.clear(); }
    void Add(std::string s) { items_.push_back(std::move(s)); }
    void Delete(std::size_t i);
    const std::string& operator[](std::size_t i) const { return items_.at(i); }

    // The text of entry i before its first "="; empty when it has none.
    std::string Names(std::size_t i) const;
    // The first entry with a "=" whose name equals name, or -1.
    long IndexOfName(std::string_view name) const;
    // The text after the name and its "=", or empty.
    std::string Values(std::string_view name) const;
    // Replaces the entry by name + "=" + value, appends it when there is none,
    // and removes it when value is empty.
    void SetValue(std::string_view name, std::string_view value);

    const std::vector<std::string>& Items() const { return items_; }

  private:
    std::vector<std::string> items_;
};

// Case-insensitive equality for ASCII and code page 1252 letters.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);
