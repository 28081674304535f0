#include "PathRules.h"

namespace paths {

bool IsSeparator(char c) {
    return kSeparators.find(c) != std::string_view::npos;
}

namespace {
std::size_t NameStart(std::string_view path) {
    auto pos = path.find_last_of(kSeparators);
    return pos == std::string_view::npos ? 0 : pos + 1;
}
} // namespace

std::string ExtractFileExt(std::string_view path) {
    auto dot = path.find_last_of('.');
    if (dot == std::string_view::npos || dot < NameStart(path))
        return {};
    return std::string(path.substr(dot));
}

std::string ExtractFilePath(std::string_view path) {
    return std::string(path.substr(0, NameStart(path)));
}

std::string ExtractFileName(std::string_view path) {
    return std::string(path.substr(NameStart(path)));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
    std::string current = ExtractFileExt(path);
    return std::string(path.substr(0, path.size() - current.size())) + std::string(ext);
}

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string FoldCaseForFileSystem(std::string_view path) {
    return kFileSystemIgnoresCase ? LowerAscii(path) : std::string(path);
}

} // namespace paths
