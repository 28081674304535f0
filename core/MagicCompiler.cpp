#include "MagicCompiler.h"

#include "IntegerRule.h"
#include "MagicLayout.h"
#include "Messages.h"
#include "UserInterface.h"

#include <string_view>

namespace {

constexpr std::string_view kHeader = "[GP4 magic file]";
constexpr std::uint8_t kCtrlZ = 0x1A;

class LineReader {
  public:
    explicit LineReader(std::span<const std::uint8_t> text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    bool AtCtrlZ() const { return !AtEnd() && text_[pos_] == kCtrlZ; }

    // The next line without its ending; lone CRs are dropped. Empty past the end.
    std::string Next() {
        std::string line;
        while (pos_ < text_.size()) {
            char c = static_cast<char>(text_[pos_++]);
            if (c == '\n')
                break;
            if (c != '\r')
                line += c;
        }
        return line;
    }

  private:
    std::span<const std::uint8_t> text_;
    std::size_t pos_ = 0;
};

std::string_view TrimControl(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32)
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32)
        s.remove_suffix(1);
    return s;
}

std::int32_t ValueOfLine(std::string_view line) {
    auto semicolon = line.find(';');
    if (semicolon == std::string_view::npos)
        return 0; // no ";": the value text is empty
    return ParseMagicInteger(TrimControl(line.substr(0, semicolon)));
}

void AppendU16(fileio::Bytes& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

} // namespace

std::optional<fileio::Bytes> CompileMagicRecord(std::span<const std::uint8_t> text) {
    LineReader reader(text);
    if (reader.Next() != kHeader)
        return std::nullopt;
    reader.Next();

    MagicValues values{};
    for (auto& v : values)
        v = ValueOfLine(reader.Next());

    fileio::Bytes out(kMagicTag.begin(), kMagicTag.end());
    out.resize(kMagicTag.size() + kMagicFixedSize);
    EncodeFixedPart(values, std::span<std::uint8_t, kMagicFixedSize>(out.data() + kMagicTag.size(),
                                                                     kMagicFixedSize));

    for (int i = 0; i < 3; ++i)
        reader.Next();

    while (!reader.AtEnd() && !reader.AtCtrlZ()) {
        std::string line = reader.Next();
        if (line.empty())
            continue;
        std::string_view view(line);
        auto comma = view.find(',');
        std::string_view first =
            comma == std::string_view::npos ? std::string_view() : view.substr(0, comma);
        std::string_view second = comma == std::string_view::npos ? view : view.substr(comma + 1);
        AppendU16(out, static_cast<std::uint16_t>(ParseMagicInteger(first)));
        AppendU16(out, static_cast<std::uint16_t>(ParseMagicInteger(second)));
    }
    AppendU16(out, kMagicTerminator);
    return out;
}

std::optional<fileio::Bytes> CompileMagicTextFile(const std::string& textPath) {
    fileio::Bytes text = fileio::ReadWholeFile(textPath);
    auto record = CompileMagicRecord(text);
    if (!record)
        Ui().ShowMessage(MessageType::Error, msg::kNotMagicFile);
    return record;
}

bool CompileMagicText(const std::string& textPath, const std::string& recordPath) {
    auto record = CompileMagicTextFile(textPath);
    if (!record)
        return false;
    fileio::ReplaceFileAtomically(recordPath, *record);
    return true;
}
