// One live refresh of the main window (four cameras at 640 x 480: read,
// decode, scale, draw into the off-screen bitmaps) against decoding the
// same four pictures alone. Needs a display (run under xvfb-run).
#include <benchmark/benchmark.h>

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/init.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "cameraview.h"
#include "calendar.h"
#include "database.h"
#include "platform/platform.h"
#include "ratio_reporter.h"
#include "sample.h"
#include "session.h"
#include "video.h"

namespace {

struct Fixture {
    std::string root;
    DataSession session;
    Instant at;
    std::vector<std::vector<uint8_t>> jpegs;
    wxBitmap bitmaps[4], scratch[4];
    wxMemoryDC dcs[4];
    SampleBuffer buffer;
    std::vector<std::string> refs[4];
    Fixture() {
        root = platform::TempDirectory() + "trakvue-bench-refresh";
        std::system(("rm -rf '" + root + "'").c_str());
        if (std::system((std::string(DVRSTATION) + " create '" + root + "' --hours 0.02 > /dev/null").c_str()) != 0)
            std::abort();
        std::string paths[4];
        const char* p[4];
        for (int c = 0; c < 4; ++c) {
            paths[c] = root + "/cam" + std::to_string(c + 1);
            p[c] = paths[c].c_str();
            refs[c] = {"N" + std::to_string(c + 1) + ": TP101", "N" + std::to_string(c + 1) + ": PT102",
                       "N" + std::to_string(c + 1) + ": DN115", "N" + std::to_string(c + 1) + ": DU116"};
            bitmaps[c] = wxBitmap(CCameraView::kBitmapWidth, CCameraView::kBitmapHeight, 24);
            dcs[c].SelectObject(bitmaps[c]);
        }
        session.Reconnect(p);
        dbGetActualRecTime(session.Handle(0), &at.day, &at.time);
        at.time -= 5000;
        InitBuffer(buffer);
        for (int c = 0; c < 4; ++c) {
            auto db = dvrdb::Database::Open(paths[c]);
            int64_t when;
            std::vector<uint8_t> j;
            if (db && db->FindPicture(dvrdb::LocalInstantToEpochMs(at.day, at.time), when, j)) jpegs.push_back(j);
        }
    }
};

Fixture& F() {
    static Fixture f;
    return f;
}

// A 1280 x 1024 work area's view size.
constexpr int kW = (1280 - 20) / 2, kH = (1024 - 100) / 2;

void BM_RefreshMainView(benchmark::State& state) {
    Fixture& f = F();
    std::shared_ptr<const ParamCatalogue> cat = f.session.Catalogue();
    for (auto _ : state) {
        for (int c = 0; c < 4; ++c) {
            int32_t w = 0, h = 0;
            uint8_t* data = nullptr;
            ReadSample(f.session, f.session.Handle(c), f.at, f.buffer, &w, &h, &data);
            CameraFrame frame;
            frame.sample = &f.buffer;
            frame.picture = data;
            frame.width = w;
            frame.height = h;
            frame.camera = c;
            frame.references = f.refs[c];
            frame.catalogue = cat.get();
            DrawCameraView(f.dcs[c], kW, kH, frame, f.scratch[c]);
        }
    }
}

void BM_DecodeFour(benchmark::State& state) {
    Fixture& f = F();
    std::vector<uint8_t> rgb;
    for (auto _ : state) {
        for (const auto& j : f.jpegs) {
            int w, h;
            dvrdb::DecodeJpeg(j.data(), j.size(), rgb, w, h);
            benchmark::DoNotOptimize(rgb.data());
        }
    }
}

BENCHMARK(BM_RefreshMainView)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_DecodeFour)->Unit(benchmark::kMillisecond)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    wxApp::SetInstance(new wxApp);
    if (!wxInitialize(argc, argv)) {
        std::fprintf(stderr, "bench_refresh needs a display: run it under xvfb-run\n");
        return 1;
    }
    wxInitAllImageHandlers();
    int rc = benchsupport::RunWithRatios(argc, argv, {
        {"refresh / four decodes (goal <= 1.5)", "BM_RefreshMainView/repeats:5", "BM_DecodeFour/repeats:5", false},
    });
    std::fflush(stdout);
    std::_Exit(rc);
}
