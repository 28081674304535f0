// A magic text file with 10,000 bump pairs: compiled into a record, and a
// record written back out as a magic text file.
#include "BenchFiles.h"
#include "KestrumVar.h"
#include "MagicCompiler.h"
#include "MagicLayout.h"
#include "MagicWriter.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kBumpPairs = 10000;

const std::string& BigMagicText() {
    static const std::string text = [] {
        std::vector<std::string> bumps;
        bumps.reserve(kBumpPairs);
        for (int i = 0; i < kBumpPairs; ++i)
            bumps.push_back(std::to_string(i * 7 % 65536) + "," + std::to_string(i * 13 % 4096));
        std::vector<std::int32_t> values(kMagicValueLines);
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] = static_cast<std::int32_t>(i * 37) - 100;
        return MakeMagicText(values, bumps);
    }();
    return text;
}

void BM_CompileMagicRecord10kPairs(benchmark::State& state) {
    const std::string& text = BigMagicText();
    const fileio::Bytes bytes(text.begin(), text.end());
    for (auto _ : state) {
        auto record = CompileMagicRecord(bytes);
        benchmark::DoNotOptimize(record);
    }
}
BENCHMARK(BM_CompileMagicRecord10kPairs)->Unit(benchmark::kMicrosecond);

void BM_FormatMagicText10kPairs(benchmark::State& state) {
    const std::string& text = BigMagicText();
    const fileio::Bytes tagged = *CompileMagicRecord(fileio::Bytes(text.begin(), text.end()));
    const std::span<const std::uint8_t> record(tagged.data() + kMagicTag.size(),
                                               tagged.size() - kMagicTag.size());
    DescriptionArray descriptions{};
    for (int k = 1; k <= kDescriptionCount; ++k)
        descriptions[k] = "description of value line " + std::to_string(k);
    for (auto _ : state) {
        std::string out = FormatMagicText(record, descriptions);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_FormatMagicText10kPairs)->Unit(benchmark::kMicrosecond);

// The whole round on disk: the text file read and compiled, the record
// written as a magic text file (replaced atomically, synced).
void BM_CompileAndWriteMagicFile10kPairs(benchmark::State& state) {
    const std::string in = BenchDir() / "bumps.md3";
    const std::string out = BenchDir() / "bumps-out.md3";
    WriteText(in, BigMagicText());
    for (auto _ : state) {
        auto tagged = CompileMagicTextFile(in);
        WriteMagicText(tagged->data() + kMagicTag.size(), tagged->size() - kMagicTag.size(), out);
    }
}
BENCHMARK(BM_CompileAndWriteMagicFile10kPairs)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The reference: writing a text of the same size the same way (temporary
// beside the target, synced, renamed), with nothing compiled or formatted.
void BM_WriteSameSizeTextReference(benchmark::State& state) {
    const std::string out = BenchDir() / "bumps-ref.md3";
    const std::string& text = BigMagicText();
    for (auto _ : state)
        fileio::ReplaceFileAtomically(out, text);
}
BENCHMARK(BM_WriteSameSizeTextReference)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
