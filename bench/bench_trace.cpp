// The cost of a trace site while logging is off: the same loop with and
// without a TXDB_TRACE whose text would build a string. The two times should
// be the same within noise.

#include "ctraxdbpartlib/CLogger.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

constexpr int STEPS = 1000;

int step(int value, int i) {
    return value * 31 + i;
}

// Seconds of one loop step, shown with its SI prefix.
void reportPerStep(benchmark::State &state) {
    state.counters["per_step"] = benchmark::Counter(static_cast<double>(state.iterations()) * STEPS,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_LoopWithoutTrace(benchmark::State &state) {
    loggingEnabled = false;
    int value = 0;
    for (auto _ : state) {
        for (int i = 0; i < STEPS; ++i) {
            value = step(value, i);
            benchmark::DoNotOptimize(value);
        }
    }
    reportPerStep(state);
}

void BM_LoopWithTraceLoggingOff(benchmark::State &state) {
    loggingEnabled = false;
    int value = 0;
    for (auto _ : state) {
        for (int i = 0; i < STEPS; ++i) {
            TXDB_TRACE(LOG_FINE, "CTraxDBLibReader::getNext() step " + std::to_string(i));
            value = step(value, i);
            benchmark::DoNotOptimize(value);
        }
    }
    reportPerStep(state);
}

} // namespace

BENCHMARK(BM_LoopWithoutTrace);
BENCHMARK(BM_LoopWithTraceLoggingOff);

BENCHMARK_MAIN();
