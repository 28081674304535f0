// How the program takes paths apart. On Windows "\", "/" and ":" end a folder
// part; on POSIX only "/". The extension is the text from the last "." on,
// provided no separator follows it.
#pragma once

#include <string>
#include <string_view>

namespace paths {

#ifdef _WIN32
inline constexpr std::string_view kSeparators = "\\/:";
inline constexpr char kPreferredSeparator = '\\';
inline constexpr bool kFileSystemIgnoresCase = true;
#else
inline constexpr std::string_view kSeparators = "/";
inline constexpr char kPreferredSeparator = '/';
inline constexpr bool kFileSystemIgnoresCase = false;
#endif

bool IsSeparator(char c);
// ".md3" for "a/b.md3"; empty for "a.b/c" and "c".
std::string ExtractFileExt(std::string_view path);
// The folder part, up to and including the last separator; empty if none.
std::string ExtractFilePath(std::string_view path);
// The name after the folder part.
std::string ExtractFileName(std::string_view path);
// path with its extension replaced by ext (appended when it has none).
std::string ChangeFileExt(std::string_view path, std::string_view ext);

// Only the letters a to z (A to Z) change.
std::string UpperAscii(std::string_view text);
std::string LowerAscii(std::string_view text);
// Lower-cases a folder only where the file system ignores case: elsewhere a
// lower-cased name points at another folder.
std::string FoldCaseForFileSystem(std::string_view path);

} // namespace paths
