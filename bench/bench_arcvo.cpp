// Zip library throughput against Info-ZIP zip/unzip and a plain copy, on
// the same mix of compressible text and incompressible video-like data.
// TRAKVUE_BENCH_MB sets the input size (default 256).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "Arcvo.h"
#include "platform/platform.h"
#include "ratio_reporter.h"

namespace {

struct Input {
    std::string dir, text, video, textZip, videoZip;
    Input() {
        size_t mb = 256;
        if (const char* e = std::getenv("TRAKVUE_BENCH_MB")) mb = std::strtoul(e, nullptr, 10);
        dir = platform::TempDirectory() + "trakvue-bench-arcvo";
        std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str());
        text = dir + "/Server.log";
        video = dir + "/Arh1_x_03_1.avi";
        const size_t half = mb * 1024 * 1024 / 2;
        std::ofstream t(text, std::ios::binary);
        std::string line;
        for (size_t n = 0, i = 0; n < half; ++i) {
            line = "11.12.2026 13:" + std::to_string(i % 60) + ":" + std::to_string(i % 59) + " -> value " +
                   std::to_string(i * 37 % 100000) + " of TP" + std::to_string(i % 101) + "\r\n";
            t << line;
            n += line.size();
        }
        std::ofstream v(video, std::ios::binary);
        std::string block(1 << 20, '\0');
        uint64_t x = 88172645463325252ull;
        for (size_t n = 0; n < half; n += block.size()) {
            for (size_t i = 0; i < block.size(); i += 8) {
                x ^= x << 13; x ^= x >> 7; x ^= x << 17;
                std::memcpy(&block[i], &x, 8);
            }
            v.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
    }
    ~Input() { std::system(("rm -rf '" + dir + "'").c_str()); }
};

Input& In() {
    static Input in;
    return in;
}

void Shell(const std::string& cmd) {
    if (std::system(cmd.c_str()) != 0) std::abort();
}

Arcvo::CZip::ECompressionMethod MethodFor(int level) {
    return level == 0 ? Arcvo::CZip::COMPRESSION_STORE : level == 1 ? Arcvo::CZip::COMPRESSION_FAST
                                                                    : Arcvo::CZip::COMPRESSION_BEST;
}

void BM_ArcvoAddFile(benchmark::State& state) {
    Input& in = In();
    const std::string zip = in.dir + "/arcvo.zip";
    for (auto _ : state) {
        std::remove(zip.c_str());
        Arcvo::CZipArchive a(zip.c_str(), Arcvo::CZipArchive::OPEN_MODE_CREATE);
        if (a.OpenArchive() || a.AddFile(in.text.c_str(), MethodFor(state.range(0)), nullptr) ||
            a.AddFile(in.video.c_str(), MethodFor(state.range(0)), nullptr) || a.CloseArchive())
            state.SkipWithError("arcvo failed");
    }
}

void BM_InfoZip(benchmark::State& state) {
    Input& in = In();
    const std::string zip = in.dir + "/infozip.zip";
    for (auto _ : state) {
        std::remove(zip.c_str());
        Shell("cd '" + in.dir + "' && zip -q -" + std::to_string(state.range(0)) + " infozip.zip Server.log Arh1_x_03_1.avi");
    }
}

void BM_ArcvoExtract(benchmark::State& state) {
    Input& in = In();
    const std::string zip = in.dir + "/infozip-x.zip";
    Shell("cd '" + in.dir + "' && rm -f infozip-x.zip && zip -q -1 infozip-x.zip Server.log Arh1_x_03_1.avi");
    for (auto _ : state) {
        Shell("rm -rf '" + in.dir + "/xa'");
        Arcvo::CZipArchive a(zip.c_str(), Arcvo::CZipArchive::OPEN_MODE_READ);
        if (a.OpenArchive() || a.Extract((in.dir + "/xa").c_str(), nullptr)) state.SkipWithError("extract failed");
    }
}

void BM_Unzip(benchmark::State& state) {
    Input& in = In();
    Shell("cd '" + in.dir + "' && rm -f infozip-x.zip && zip -q -1 infozip-x.zip Server.log Arh1_x_03_1.avi");
    for (auto _ : state) {
        Shell("rm -rf '" + in.dir + "/xu' && unzip -qq '" + in.dir + "/infozip-x.zip' -d '" + in.dir + "/xu'");
    }
}

void BM_PlainCopy(benchmark::State& state) {
    Input& in = In();
    for (auto _ : state) {
        if (!platform::CopyFileOverwrite(in.text.c_str(), (in.dir + "/c1").c_str()) ||
            !platform::CopyFileOverwrite(in.video.c_str(), (in.dir + "/c2").c_str()))
            state.SkipWithError("copy failed");
    }
}

BENCHMARK(BM_ArcvoAddFile)->Arg(0)->Arg(1)->Arg(9)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();
BENCHMARK(BM_InfoZip)->Arg(0)->Arg(1)->Arg(9)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();
BENCHMARK(BM_ArcvoExtract)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();
BENCHMARK(BM_Unzip)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return benchsupport::RunWithRatios(argc, argv, {
        {"AddFile stored vs zip -0 (throughput)", "BM_ArcvoAddFile/0/iterations:1/repeats:3/real_time", "BM_InfoZip/0/iterations:1/repeats:3/real_time", true},
        {"AddFile fastest vs zip -1 (throughput)", "BM_ArcvoAddFile/1/iterations:1/repeats:3/real_time", "BM_InfoZip/1/iterations:1/repeats:3/real_time", true},
        {"AddFile best vs zip -9 (throughput)", "BM_ArcvoAddFile/9/iterations:1/repeats:3/real_time", "BM_InfoZip/9/iterations:1/repeats:3/real_time", true},
        {"Extract vs unzip (throughput)", "BM_ArcvoExtract/iterations:1/repeats:3/real_time", "BM_Unzip/iterations:1/repeats:3/real_time", true},
        {"AddFile stored vs plain copy (throughput)", "BM_ArcvoAddFile/0/iterations:1/repeats:3/real_time", "BM_PlainCopy/iterations:1/repeats:3/real_time", true},
    });
}
