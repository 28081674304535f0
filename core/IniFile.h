// An INI file that keeps every line it does not change: comments, blank
// lines, other sections and keys, their order and their line endings all
// survive a save byte for byte.
//
// A line whose first non-blank character is '[' opens the section named
// between it and the next ']'. A line "key=value" gives a key of the current
// section; blanks around the key and the value are not part of them. Lines
// starting with ';' or '#' are comments. Section and key names are matched
// without regard to ASCII letter case. Values are written exactly as given:
// no quotes, no escapes.
#pragma once

#include "IoError.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The error "Unable to write to <path>".
Error UnableToWrite(const std::string& path);

class IniFile {
  public:
    // Loads the file when it exists; a missing file is an empty one. A file
    // that exists but cannot be read raises an IoError.
    explicit IniFile(std::string path);
    // The file at path as if it held text; nothing is read.
    IniFile(std::string path, std::string_view text);

    // The value of key in section, or def when the key or its section is
    // missing. A key that appears more than once gives its first value.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;
    // Replaces the value of the key (the line keeps its spelling of the key and
    // its blanks before the value), or adds the key at the end of its section,
    // or adds the section at the end of the file. Writing the value a key
    // already has changes nothing. A value holding a line break cannot be
    // written: it raises Error("Unable to write to <path>").
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    // Writes the text to the path in one step; a failure raises
    // Error("Unable to write to <path>") and leaves the file as it was.
    void Save();

    std::string ToText() const;
    const std::string& Path() const { return path_; }

  private:
    struct Line {
        std::string text; // without its line ending
        std::string eol;  // "\r\n", "\n", "\r" or "" (the last line)
    };
    struct KeyLine {
        std::size_t index;      // into lines_
        std::size_t equals;     // the position of the "=" in the line's text
        std::size_t valueStart; // where the value begins (blanks skipped)
    };

    void Parse(std::string_view text);
    // The section's name when line i opens one.
    std::optional<std::string_view> SectionAt(std::size_t i) const;
    // Where the key and its value are when line i is "key=value".
    std::optional<KeyLine> KeyAt(std::size_t i) const;
    std::string_view KeyName(const KeyLine& k) const;
    std::string ValueOf(const KeyLine& k) const;
    std::optional<KeyLine> Find(std::string_view section, std::string_view key) const;
    // The file's own line ending (that of its first line), else the platform's.
    std::string Eol() const;
    void InsertLine(std::size_t at, std::string text);

    std::string path_;
    std::string bom_; // a UTF-8 byte order mark kept in front of the first line
    std::vector<Line> lines_;
};
