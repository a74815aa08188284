// SMOKE generation, the reference rule against the fast one, on the shipped 256 × 256 texture.
#include <benchmark/benchmark.h>

#include "base/gl.h"
#include "base/random.h"
#include "textures/texture.h"
#include "textures/texture_scratch.h"
#include "textures/texture_types.h"

using namespace smokedrift;

namespace {

template <void (*Generator)(Texture&, int)>
void generateShipped(benchmark::State& state) {
    Texture t;
    t.width = static_cast<int>(state.range(0));
    t.height = static_cast<int>(state.range(1));
    t.format = GL_RGBA;
    std::uint32_t seed = 1;
    for (auto _ : state) {
        seedRandom(seed++);
        Generator(t, 4);
        benchmark::DoNotOptimize(textureScratch.pixelBuffer[0]);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * t.width * t.height);
}

}  // namespace

BENCHMARK(generateShipped<generateSmokeReference>)
    ->Name("Smoke/literal")
    ->Args({256, 256})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(generateShipped<generateSmoke>)->Name("Smoke/fast")->Args({256, 256})->Unit(benchmark::kMillisecond);
BENCHMARK(generateShipped<generateSmokeReference>)
    ->Name("Smoke/literal")
    ->Args({1024, 64})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(generateShipped<generateSmoke>)->Name("Smoke/fast")->Args({1024, 64})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
