// dvrstation: creates demo station databases and records into them.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "calendar.h"
#include "platform/platform.h"
#include "prm.h"
#include "scene.h"
#include "signals.h"
#include "video.h"
#include "writer.h"

namespace {

const char kUsage[] =
    "usage:\n"
    "  dvrstation create ROOT [--cameras N] [--hours H] [--seed S] [--period MS]\n"
    "                         [--picture WxH] [--fps F] [--months D]\n"
    "      creates ROOT/cam1 .. ROOT/camN and records H hours of history ending now\n"
    "      (defaults: 4 cameras, 1 hour, seed 1, period 200 ms, 640x480, 1 fps, 12 months)\n"
    "  dvrstation record ROOT\n"
    "      records live into the databases of ROOT until SIGINT or SIGTERM\n"
    "  dvrstation --help\n";

struct Options {
    std::string root;
    int cameras = 4;
    double hours = 1;
    uint32_t seed = 1;
    int period = 200;
    int width = 640, height = 480;
    double fps = 1;
    int months = 12;
};

bool ParseNumber(const char* s, double lo, double hi, double& out) {
    char* end = nullptr;
    out = std::strtod(s, &end);
    return end != s && *end == '\0' && out >= lo && out <= hi;
}

bool ParseOptions(int argc, char** argv, int first, Options& o, std::string& error) {
    for (int i = first; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.compare(0, 2, "--") != 0) {
            if (!o.root.empty()) {
                error = "unexpected argument " + a;
                return false;
            }
            o.root = a;
            continue;
        }
        if (i + 1 >= argc) {
            error = a + " needs a value";
            return false;
        }
        const char* v = argv[++i];
        double d = 0;
        if (a == "--cameras" && ParseNumber(v, 1, 4, d) && d == std::floor(d)) o.cameras = static_cast<int>(d);
        else if (a == "--hours" && ParseNumber(v, 0.0001, 24 * 62, d)) o.hours = d;
        else if (a == "--seed" && ParseNumber(v, 0, 4294967295.0, d) && d == std::floor(d)) o.seed = static_cast<uint32_t>(d);
        else if (a == "--period" && ParseNumber(v, 10, 3600000, d) && d == std::floor(d) && 86400000 % static_cast<int>(d) == 0)
            o.period = static_cast<int>(d);
        else if (a == "--fps" && ParseNumber(v, 0.01, 50, d)) o.fps = d;
        else if (a == "--months" && ParseNumber(v, 1, 12, d) && dvrdb::ValidRingLength(static_cast<int>(d)) && d == std::floor(d))
            o.months = static_cast<int>(d);
        else if (a == "--picture" && std::sscanf(v, "%dx%d", &o.width, &o.height) == 2 && o.width >= 16 &&
                 o.height >= 16 && o.width <= 4096 && o.height <= 4096 && o.width % 2 == 0 && o.height % 2 == 0) {
        } else {
            error = "bad value for " + a + ": " + v +
                    (a == "--period" ? " (a period in ms that divides a day)" : "") +
                    (a == "--months" ? " (1, 2, 3, 4, 6 or 12)" : "") + (a == "--picture" ? " (even WxH, 16..4096)" : "");
            return false;
        }
    }
    if (o.root.empty()) {
        error = "ROOT is missing";
        return false;
    }
    return true;
}

std::string CameraFolder(const std::string& root, int camera) { return root + "/cam" + std::to_string(camera); }

bool WriteStationFile(const Options& o) {
    const std::string text = "seed=" + std::to_string(o.seed) + "\ncameras=" + std::to_string(o.cameras) + "\n";
    return platform::WriteFileAtomic(o.root + "/station.cfg", text.data(), text.size());
}

bool ReadStationFile(Options& o) {
    std::string text;
    if (!platform::ReadWholeFile(o.root + "/station.cfg", text)) return false;
    unsigned seed = 0;
    int cameras = 0;
    if (std::sscanf(text.c_str(), "seed=%u\ncameras=%d", &seed, &cameras) != 2 || cameras < 1 || cameras > 4) return false;
    o.seed = seed;
    o.cameras = cameras;
    return true;
}

// Pictures are taken at whole multiples of the frame period.
int64_t FramePeriodMs(double fps) { return std::max<int64_t>(20, static_cast<int64_t>(std::llround(1000.0 / fps))); }

bool RecordPicture(dvrdb::Writer& w, int camera, int64_t t, std::vector<uint8_t>& rgb, std::vector<uint8_t>& jpeg) {
    const dvrdb::DbConfig& c = w.Config();
    station::RenderScene(camera, t, c.pictureWidth, c.pictureHeight, rgb);
    return dvrdb::EncodeJpeg(rgb.data(), c.pictureWidth, c.pictureHeight, 80, jpeg) &&
           w.WritePicture(t, jpeg.data(), jpeg.size());
}

int Create(const Options& o) {
    platform::MakeDirectory(o.root.c_str());
    if (!platform::StatPath(o.root.c_str()).isDirectory) {
        std::fprintf(stderr, "dvrstation: cannot create %s\n", o.root.c_str());
        return 1;
    }
    if (!WriteStationFile(o)) {
        std::fprintf(stderr, "dvrstation: cannot write %s/station.cfg\n", o.root.c_str());
        return 1;
    }
    const int64_t end = platform::NowEpochMs() / o.period * o.period;
    const int64_t span = static_cast<int64_t>(o.hours * 3600000.0) / o.period * o.period;
    const int64_t start = end - span;
    // A recording pause (gaps in every database) and a camera stall
    // (records go on, pictures stop) somewhere in the history.
    const int64_t pauseFrom = start + span * 6 / 10 / o.period * o.period;
    const int64_t pauseTo = pauseFrom + std::min<int64_t>(180000, span / 20) / o.period * o.period;
    const int stallCamera = o.cameras >= 2 ? 2 : 1;
    const int64_t stallFrom = start + span * 3 / 10;
    const int64_t stallTo = stallFrom + std::min<int64_t>(120000, span / 20);
    std::printf("history %lld .. %lld (epoch ms, UTC)\n", static_cast<long long>(start), static_cast<long long>(end));
    std::printf("pause %lld .. %lld\n", static_cast<long long>(pauseFrom), static_cast<long long>(pauseTo));
    std::printf("stall camera %d %lld .. %lld\n", stallCamera, static_cast<long long>(stallFrom),
                static_cast<long long>(stallTo));
    std::fflush(stdout);

    std::atomic<int> next{1};
    std::atomic<bool> failed{false};
    std::mutex printMutex;
    auto work = [&] {
        std::vector<uint8_t> record, rgb, jpeg;
        for (int cam = next++; cam <= o.cameras && !failed; cam = next++) {
            dvrdb::Writer w;
            std::string error;
            dvrdb::DbConfig config = station::MakeConfig(cam, o.period, o.months, o.width, o.height, o.fps);
            if (!w.Create(CameraFolder(o.root, cam), config, &error)) {
                std::lock_guard<std::mutex> lock(printMutex);
                std::fprintf(stderr, "dvrstation: %s\n", error.c_str());
                failed = true;
                return;
            }
            w.Log(start, "history recording started");
            const int64_t frame = FramePeriodMs(o.fps);
            int64_t nextPicture = (start + frame - 1) / frame * frame;
            int lastTenth = -1;
            for (int64_t t = start; t < end && !failed; t += o.period) {
                const bool paused = t >= pauseFrom && t < pauseTo;
                if (!paused) {
                    station::FillRecord(w.Config(), o.seed, t, record);
                    if (!w.WriteRecord(t, record.data())) failed = true;
                }
                while (nextPicture < t + o.period && nextPicture < end) {
                    const bool stalled = cam == stallCamera && nextPicture >= stallFrom && nextPicture < stallTo;
                    const bool pausedPicture = nextPicture >= pauseFrom && nextPicture < pauseTo;
                    if (!stalled && !pausedPicture && !RecordPicture(w, cam, nextPicture, rgb, jpeg)) failed = true;
                    nextPicture += frame;
                }
                const int tenth = static_cast<int>((t - start) * 10 / std::max<int64_t>(span, 1));
                if (tenth != lastTenth) {
                    lastTenth = tenth;
                    std::lock_guard<std::mutex> lock(printMutex);
                    std::printf("camera %d: %d%%\n", cam, tenth * 10);
                    std::fflush(stdout);
                }
            }
            w.Log(pauseFrom, "recording paused");
            w.Log(pauseTo, "recording resumed");
            if (cam == stallCamera) w.Log(stallFrom, "camera stalled");
            w.Log(end, "history recording finished");
            w.Close();
            std::lock_guard<std::mutex> lock(printMutex);
            std::printf("camera %d: done\n", cam);
            std::fflush(stdout);
        }
    };
    const unsigned threads = std::max(1u, std::min(std::thread::hardware_concurrency(), static_cast<unsigned>(o.cameras)));
    std::vector<std::thread> pool;
    for (unsigned i = 0; i < threads; ++i) pool.emplace_back(work);
    for (auto& t : pool) t.join();
    if (failed) {
        std::fprintf(stderr, "dvrstation: recording the history failed\n");
        return 1;
    }
    return 0;
}

int Record(Options o) {
    if (!ReadStationFile(o)) {
        std::fprintf(stderr, "dvrstation: %s is not a station made by 'dvrstation create'\n", o.root.c_str());
        return 1;
    }
    std::vector<std::unique_ptr<dvrdb::Writer>> writers;
    for (int cam = 1; cam <= o.cameras; ++cam) {
        auto w = std::make_unique<dvrdb::Writer>();
        std::string error;
        if (!w->Open(CameraFolder(o.root, cam), &error)) {
            std::fprintf(stderr, "dvrstation: %s\n", error.c_str());
            return 1;
        }
        writers.push_back(std::move(w));
    }
    static volatile int stop = 0;
    platform::InstallStopSignals(&stop);
    const int period = writers[0]->Config().periodMs;
    const int64_t frame = FramePeriodMs(writers[0]->Config().fps);
    int64_t t = platform::NowEpochMs() / period * period + period;
    int64_t nextPicture = (t + frame - 1) / frame * frame;
    for (auto& w : writers) w->Log(t, "live recording started");
    std::printf("recording live into %s (%d cameras), stop with Ctrl-C\n", o.root.c_str(), o.cameras);
    std::fflush(stdout);
    std::vector<uint8_t> record, rgb, jpeg;
    while (!stop) {
        const int64_t now = platform::NowEpochMs();
        if (now < t) {
            platform::SleepMs(static_cast<int>(std::min<int64_t>(t - now, 50)));
            continue;
        }
        for (size_t i = 0; i < writers.size(); ++i) {
            station::FillRecord(writers[i]->Config(), o.seed, t, record);
            writers[i]->WriteRecord(t, record.data());
        }
        while (nextPicture <= t) {
            for (size_t i = 0; i < writers.size(); ++i)
                RecordPicture(*writers[i], static_cast<int>(i) + 1, nextPicture, rgb, jpeg);
            nextPicture += frame;
        }
        t += period;
        // After a long sleep of the machine, go on from now rather than
        // filling the missed time at once.
        if (platform::NowEpochMs() - t > 10000) t = platform::NowEpochMs() / period * period;
    }
    for (auto& w : writers) {
        w->Log(platform::NowEpochMs(), "live recording stopped");
        w->Close();
    }
    std::printf("stopped\n");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    const std::string command = argv[1];
    Options o;
    std::string error;
    if ((command != "create" && command != "record") || !ParseOptions(argc, argv, 2, o, error)) {
        if (error.empty()) error = "unknown command " + command;
        std::fprintf(stderr, "dvrstation: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    return command == "create" ? Create(o) : Record(o);
}
