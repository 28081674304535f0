// The trailing checksum over a 64 MiB track file, beside the plain loop that
// does nothing but the serial rotate-and-add chain. That chain cannot be
// split (each step needs the one before), so it is the floor for any
// implementation on one core.
#include "BenchFiles.h"
#include "KestrumVar.h"
#include "TrackFile.h"

#include <benchmark/benchmark.h>

namespace {

const fileio::Bytes& BigTrack() {
    static const fileio::Bytes bytes = PseudoRandomBytes(kBigTrackSize);
    return bytes;
}

void BM_ComputeChecksum(benchmark::State& state) {
    const fileio::Bytes& data = BigTrack();
    for (auto _ : state) {
        TrackChecksum sum = ComputeChecksum(data);
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_ComputeChecksum)->Unit(benchmark::kMillisecond);

// The reference: the rotating sum alone, over the same bytes.
void BM_SerialRotateAddReference(benchmark::State& state) {
    const fileio::Bytes& data = BigTrack();
    for (auto _ : state) {
        const std::uint8_t* p = data.data();
        const std::size_t m = data.size() - kChecksumSize;
        std::uint16_t rot = p[0];
        for (std::size_t i = 1; i < m; ++i)
            rot = static_cast<std::uint16_t>(Rol16(rot, 3) + p[i]);
        benchmark::DoNotOptimize(rot);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_SerialRotateAddReference)->Unit(benchmark::kMillisecond);

} // namespace
