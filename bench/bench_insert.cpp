// An insertion into a 64 MiB track file, beside copying the same file with
// the platform's file copy. The insertion reads the file once, computes the
// checksum and writes the file once, to a temporary beside it that is synced
// to the disk and renamed: the copy's work plus the checksum and the sync.
#include "BenchFiles.h"
#include "FileIO.h"
#include "TrackFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

struct BigTrackFiles {
    std::string track = BenchDir() / "big.dat";
    std::string copy = BenchDir() / "copy.dat";
    std::string magic = BenchDir() / "magic.md3";
    BigTrackFiles() {
        fileio::Bytes body = PseudoRandomBytes(kBigTrackSize - kTrackHeaderSize - kChecksumSize);
        // The record goes before the section at 1 KiB, so nearly all of the
        // file is the tail that is carried along.
        WriteBytes(track, MakeTrack(0, 1024, body));
        WriteText(magic, MakeMagicText({1, 2, 3}, {"5,7", "300,400"}));
    }
};

const BigTrackFiles& Files() {
    static const BigTrackFiles files;
    return files;
}

void BM_InsertMagicData64MiB(benchmark::State& state) {
    const BigTrackFiles& f = Files();
    for (auto _ : state) {
        // After the first one the stored record is replaced: every round
        // does the same work on a file of the same size.
        bool inserted = InsertMagicData(f.magic, f.track);
        if (!inserted)
            state.SkipWithError("the insertion was refused");
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * fileio::FileSize(f.track)));
}
BENCHMARK(BM_InsertMagicData64MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reference: the platform's copy of the same file, which neither reads
// it into memory nor waits for the disk.
void BM_CopyFileReference64MiB(benchmark::State& state) {
    const BigTrackFiles& f = Files();
    for (auto _ : state) {
        std::filesystem::copy_file(f.track, f.copy,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * fileio::FileSize(f.track)));
}
BENCHMARK(BM_CopyFileReference64MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same copy as the file layer makes it for a backup: read into memory,
// written beside the target, synced, renamed. This is the insertion's own
// file work without the compiling, the planning and the checksum.
void BM_DurableCopyReference64MiB(benchmark::State& state) {
    const BigTrackFiles& f = Files();
    for (auto _ : state)
        fileio::CopyFileOver(f.track, f.copy);
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * fileio::FileSize(f.track)));
}
BENCHMARK(BM_DurableCopyReference64MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

// The insertion's steps one by one, to show where its time goes.
void BM_InsertionStepReadWholeFile64MiB(benchmark::State& state) {
    const BigTrackFiles& f = Files();
    for (auto _ : state) {
        fileio::Bytes bytes = fileio::ReadWholeFile(f.track);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_InsertionStepReadWholeFile64MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_InsertionStepPlanInMemory64MiB(benchmark::State& state) {
    const BigTrackFiles& f = Files();
    const fileio::Bytes track = fileio::ReadWholeFile(f.track);
    const fileio::Bytes record = MakeTaggedRecord(9, {{5, 7}, {300, 400}});
    for (auto _ : state) {
        InsertionOutcome outcome = PlanInsertion(track, record);
        benchmark::DoNotOptimize(outcome.plan->file.data());
    }
}
BENCHMARK(BM_InsertionStepPlanInMemory64MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_InsertionStepReplaceAtomically64MiB(benchmark::State& state) {
    const BigTrackFiles& f = Files();
    const fileio::Bytes track = fileio::ReadWholeFile(f.track);
    for (auto _ : state)
        fileio::ReplaceFileAtomically(f.copy, track);
}
BENCHMARK(BM_InsertionStepReplaceAtomically64MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
