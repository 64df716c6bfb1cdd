#include "foundation/String.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Vemo::String;

String TextOfLength(std::int64_t length) {
    return String(std::string(static_cast<std::size_t>(length), 'q').c_str());
}

// A copy of a buffer that can still be shared only counts one more holder.
void BM_CopyShared(benchmark::State& state) {
    const String source = TextOfLength(state.range(0));
    for (auto _ : state) {
        String copy(source);
        benchmark::DoNotOptimize(copy.CStr());
    }
}
BENCHMARK(BM_CopyShared)->Arg(16)->Arg(256)->Arg(4096);

// Once 255 further holders share a buffer, every copy is a private one.
void BM_CopyOfFullyShared(benchmark::State& state) {
    const String source = TextOfLength(state.range(0));
    std::vector<String> holders;
    holders.reserve(255);
    for (int i = 0; i < 255; ++i) {
        holders.emplace_back(source);
    }
    for (auto _ : state) {
        String copy(source);
        benchmark::DoNotOptimize(copy.CStr());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CopyOfFullyShared)->Arg(16)->Arg(256)->Arg(4096);

// Builds a text of range(0) characters from pieces of range(1) characters.
void BM_AppendPieces(benchmark::State& state) {
    const auto total = static_cast<std::uint32_t>(state.range(0));
    const auto pieceLength = static_cast<std::uint32_t>(state.range(1));
    const std::string piece(pieceLength, 'p');
    for (auto _ : state) {
        String text;
        for (std::uint32_t length = 0; length < total; length += pieceLength) {
            text.Append(piece.c_str(), pieceLength);
        }
        benchmark::DoNotOptimize(text.CStr());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AppendPieces)->ArgsProduct({{64, 1024, 16384, 262144}, {1, 8}});

} // namespace
