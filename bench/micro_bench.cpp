// Micro-benchmarks of the kernels that dominate a step: band normalisation,
// trace resampling, spline set-up and evaluation, and the interpolation of
// the lanes between marker lanes in the norm-fac reader.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "zeLaneResampler.h"
#include "zeNormFac.h"
#include "zeVersion.h"
#include "zeNormTrace.h"
#include "zeSpline.h"

namespace {

// A smoothly curved calibration of 25 pairs over a row of 4000 positions.
dp_Accum<Coords> calibration(float smile) {
    dp_Accum<Coords> pairs;
    for (int i = 0; i < 25; i++) {
        float norm = 100 + i * 180.0f;
        float t = norm / (float)NORM_SCALE_LENGTH;
        float gel = 150 + 3600 * (t + 0.08f * t * (1 - t)) + smile;
        pairs.append(Coords{norm, gel});
    }
    return pairs;
}

NormFac makeFac(bool nonlinear) {
    NormFac f;
    f.nonlinear = nonlinear;
    dp_Accum<Coords> pairs = calibration(0);
    f.initFrom(pairs);
    return f;
}

void BM_normaliseBand(benchmark::State& state) {
    NormFac f = makeFac(state.range(0) != 0);
    float g = (float)f.gelLow;
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.normaliseBand(g));
        g += 1;
        if (g > f.gelHigh) g = (float)f.gelLow;
    }
}
BENCHMARK(BM_normaliseBand)->Arg(0)->Arg(1);

void BM_normTrace8(benchmark::State& state) {
    NormFac f = makeFac(true);
    std::vector<unsigned char> trace(4000);
    for (int i = 0; i < 4000; i++) trace[i] = (unsigned char)(128 + 100 * std::sin(i * 0.05));
    std::vector<float> out(NORM_SCALE_LENGTH);
    for (auto _ : state) {
        normTrace(trace.data(), out.data(), 4000, f);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_normTrace8)->Unit(benchmark::kMicrosecond);

void BM_normTrace16(benchmark::State& state) {
    NormFac f = makeFac(true);
    std::vector<short> trace(4000);
    for (int i = 0; i < 4000; i++) trace[i] = (short)(20000 * std::sin(i * 0.05));
    std::vector<float> out(NORM_SCALE_LENGTH);
    for (auto _ : state) {
        normTrace(trace.data(), out.data(), 4000, f);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_normTrace16)->Unit(benchmark::kMicrosecond);

// What the step does: a lane's tables built once, then its rows resampled
// in batches of `count`.
void BM_laneResamplerRows(benchmark::State& state) {
    NormFac f = makeFac(true);
    const int count = (int)state.range(0);
    std::vector<std::vector<unsigned char>> rows(count, std::vector<unsigned char>(4000));
    std::vector<std::vector<float>> outs(count, std::vector<float>(NORM_SCALE_LENGTH));
    std::vector<const unsigned char*> rowPtrs;
    std::vector<float*> outPtrs;
    for (int r = 0; r < count; r++) {
        for (int i = 0; i < 4000; i++) rows[r][i] = (unsigned char)(128 + 100 * std::sin(i * 0.05 + r));
        rowPtrs.push_back(rows[r].data());
        outPtrs.push_back(outs[r].data());
    }
    LaneResampler lane;
    lane.prepare(f, 4000);
    for (auto _ : state) {
        lane.resample(rowPtrs.data(), outPtrs.data(), count);
        benchmark::DoNotOptimize(outPtrs.data());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_laneResamplerRows)->Arg(1)->Arg(16)->Unit(benchmark::kMicrosecond);

void BM_laneResamplerPrepare(benchmark::State& state) {
    NormFac f = makeFac(true);
    LaneResampler lane;
    for (auto _ : state) {
        lane.prepare(f, 4000);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_laneResamplerPrepare)->Unit(benchmark::kMicrosecond);

void BM_splineSetUp(benchmark::State& state) {
    int n = (int)state.range(0);
    std::vector<float> x(n), y(n), y2(n);
    for (int i = 0; i < n; i++) {
        x[i] = i * 1.13f;
        y[i] = 100 + 50 * std::sin(i * 0.1f);
    }
    for (auto _ : state) {
        spline(x.data(), y.data(), n, 1e30f, 1e30f, y2.data());
        benchmark::DoNotOptimize(y2.data());
    }
}
BENCHMARK(BM_splineSetUp)->Arg(25)->Arg(1001)->Arg(4000)->Unit(benchmark::kMicrosecond);

void BM_splineEvaluate(benchmark::State& state) {
    int n = (int)state.range(0);
    std::vector<float> x(n), y(n), y2(n);
    for (int i = 0; i < n; i++) {
        x[i] = i * 1.13f;
        y[i] = 100 + 50 * std::sin(i * 0.1f);
    }
    spline(x.data(), y.data(), n, 1e30f, 1e30f, y2.data());
    float at = 0, v = 0;
    for (auto _ : state) {
        splint(x.data(), y.data(), y2.data(), n, at, &v);
        benchmark::DoNotOptimize(v);
        at += 0.37f;
        if (at > x[n - 1]) at = 0;
    }
}
BENCHMARK(BM_splineEvaluate)->Arg(25)->Arg(4000);

// Reading a norm-fac file of 97 lanes with a marker every 8 lanes: the cost
// is the interpolation of the 84 lanes between markers.
void BM_readNormFacsInterpolation(benchmark::State& state) {
    const int lanes = 97, step = 8;
    std::string path = "/tmp/ze_micro_bench_normfac." + std::to_string(::getpid());
    {
        std::ofstream f(path);
        f << "NORMFACTORS\n";
        for (int l = 0; l < lanes; l += step) {
            dp_Accum<Coords> pairs = calibration(0.5f * l);
            f << pairs.nelem() << "\n";
            for (int i = 0; i < pairs.nelem(); i++)
                f << l << " " << pairs(i).norm << " " << pairs(i).gel << " "
                  << 20000 * std::exp(-i * 0.25) << "\n";
        }
    }
    bool linear = state.range(0) == 0;
    // The reader reports progress on standard output; keep it out of the figures.
    std::ofstream devnull("/dev/null");
    std::streambuf* saved = std::cout.rdbuf(devnull.rdbuf());
    for (auto _ : state) {
        dp_Array<NormFac> normFacs(0, lanes - 1), sizeFacs(0, lanes - 1);
        bool haveSizes = false;
        readNormFacs(lanes, step, 1, dbString(path.c_str()), linear, false, &haveSizes, &normFacs,
                     &sizeFacs);
        benchmark::DoNotOptimize(haveSizes);
    }
    std::cout.rdbuf(saved);
    std::remove(path.c_str());
}
BENCHMARK(BM_readNormFacsInterpolation)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

// Google Benchmark's own options pass through; -h and --version are ours.
int main(int argc, char** argv) {
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            fputs("USAGE:  ze_micro_bench [--benchmark_filter=REGEX] [benchmark options]\n"
                  "Times the numerical kernels of the normalisation.\n"
                  "  --benchmark_filter=REGEX  only the benchmarks whose names match\n"
                  "  --benchmark_list_tests    list the benchmarks\n"
                  "  --benchmark_...           any other option of Google Benchmark\n"
                  "  -h, --help                this text\n"
                  "  --version                 the version\n",
                  stdout);
            return 0;
        }
        if (arg == "--version") {
            fputs(versionLine("ze_micro_bench").c_str(), stdout);
            return 0;
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
