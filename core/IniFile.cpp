#include "IniFile.h"

#include "FileIO.h"
#include "IoError.h"
#include "Messages.h"
#include "PathRules.h"

#include <cstdio>

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

#ifdef _WIN32
constexpr const char* kNativeEol = "\r\n";
#else
constexpr const char* kNativeEol = "\n";
#endif

std::string_view TrimLeft(std::string_view s) {
    auto start = s.find_first_not_of(kBlanks);
    return start == std::string_view::npos ? std::string_view() : s.substr(start);
}

std::string_view TrimRight(std::string_view s) {
    auto end = s.find_last_not_of(kBlanks);
    return end == std::string_view::npos ? std::string_view() : s.substr(0, end + 1);
}

std::string_view Trim(std::string_view s) {
    return TrimRight(TrimLeft(s));
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && paths::LowerAscii(a) == paths::LowerAscii(b);
}

} // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {
    if (!fileio::FileExists(path_))
        return;
    const fileio::Bytes data = fileio::ReadWholeFile(path_);
    Parse(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
}

IniFile::IniFile(std::string path, std::string_view text) : path_(std::move(path)) {
    Parse(text);
}

void IniFile::Parse(std::string_view text) {
    if (text.starts_with(kUtf8Bom)) {
        bom_ = kUtf8Bom;
        text.remove_prefix(kUtf8Bom.size());
    }
    while (!text.empty()) {
        const auto end = text.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            lines_.push_back({std::string(text), ""});
            break;
        }
        const std::size_t eolSize = text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        lines_.push_back(
            {std::string(text.substr(0, end)), std::string(text.substr(end, eolSize))});
        text.remove_prefix(end + eolSize);
    }
}

std::optional<std::string_view> IniFile::SectionAt(std::size_t i) const {
    const std::string_view t = TrimLeft(lines_[i].text);
    if (!t.starts_with('['))
        return std::nullopt;
    const auto close = t.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

std::optional<IniFile::KeyLine> IniFile::KeyAt(std::size_t i) const {
    const std::string_view t = lines_[i].text;
    const std::string_view start = TrimLeft(t);
    if (start.empty() || start.front() == ';' || start.front() == '#' || start.front() == '[')
        return std::nullopt;
    const auto eq = t.find('=');
    if (eq == std::string_view::npos || Trim(t.substr(0, eq)).empty())
        return std::nullopt;
    const auto value = t.find_first_not_of(kBlanks, eq + 1);
    return KeyLine{i, eq, value == std::string_view::npos ? t.size() : value};
}

std::string_view IniFile::KeyName(const KeyLine& k) const {
    return Trim(std::string_view(lines_[k.index].text).substr(0, k.equals));
}

std::string IniFile::ValueOf(const KeyLine& k) const {
    return std::string(TrimRight(std::string_view(lines_[k.index].text).substr(k.valueStart)));
}

std::optional<IniFile::KeyLine> IniFile::Find(std::string_view section,
                                              std::string_view key) const {
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (auto name = SectionAt(i)) {
            inSection = SameName(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        if (auto k = KeyAt(i); k && SameName(KeyName(*k), key))
            return k;
    }
    return std::nullopt;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
    auto k = Find(section, key);
    return k ? ValueOf(*k) : std::string(def);
}

std::string IniFile::Eol() const {
    for (const Line& line : lines_)
        if (!line.eol.empty())
            return line.eol;
    return kNativeEol;
}

void IniFile::InsertLine(std::size_t at, std::string text) {
    // The line before it needs an ending of its own (the last line may lack one).
    if (at > 0 && lines_[at - 1].eol.empty())
        lines_[at - 1].eol = Eol();
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), Eol()});
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    // One value, one line: a line break would make a second one.
    if (value.find_first_of("\r\n") != std::string_view::npos)
        throw UnableToWrite(path_);

    if (auto k = Find(section, key)) {
        if (ValueOf(*k) == value)
            return;
        std::string& text = lines_[k->index].text;
        // An empty value leaves the key and its "=" with nothing after them.
        text = text.substr(0, value.empty() ? k->equals + 1 : k->valueStart) + std::string(value);
        return;
    }

    const std::string entry = std::string(key) + "=" + std::string(value);
    // After the last key of the section's first occurrence (after its header
    // when it has none), so that comments and blank lines below stay below.
    std::optional<std::size_t> after;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (auto name = SectionAt(i)) {
            if (after)
                break;
            if (SameName(*name, section))
                after = i;
            continue;
        }
        if (after && KeyAt(i))
            after = i;
    }
    if (after) {
        InsertLine(*after + 1, entry);
        return;
    }
    if (!lines_.empty() && !Trim(lines_.back().text).empty())
        InsertLine(lines_.size(), "");
    InsertLine(lines_.size(), "[" + std::string(section) + "]");
    InsertLine(lines_.size(), entry);
}

std::string IniFile::ToText() const {
    std::string out = bom_;
    for (const Line& line : lines_) {
        out += line.text;
        out += line.eol;
    }
    return out;
}

Error UnableToWrite(const std::string& path) {
    const int n = std::snprintf(nullptr, 0, msg::kUnableToWrite, path.c_str());
    std::string text(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, msg::kUnableToWrite, path.c_str());
    return Error(text);
}

void IniFile::Save() {
    try {
        fileio::ReplaceFileAtomically(path_, ToText());
    } catch (const Error&) {
        throw UnableToWrite(path_);
    }
}
