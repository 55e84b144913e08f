// The GUI test program: a wxApp for the process, then the tests. Without a
// display the tests that draw are skipped.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>

#include "gui_support.h"

namespace {
bool g_display = false;

// A failed toolkit assertion fails the test instead of opening a dialog
// that nobody answers.
void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
    ADD_FAILURE() << "wx assertion " << cond.utf8_string() << " in " << func.utf8_string() << " at "
                  << file.utf8_string() << ":" << line << ": " << msg.utf8_string();
}
} // namespace

namespace guitest {

bool HaveDisplay() { return g_display; }

bool AnyPixelDiffers(const wxImage& img, const wxRect& r, const wxColour& colour) {
    for (int y = std::max(0, r.y); y < std::min(img.GetHeight(), r.GetBottom() + 1); ++y)
        for (int x = std::max(0, r.x); x < std::min(img.GetWidth(), r.GetRight() + 1); ++x)
            if (Pixel(img, x, y) != colour) return true;
    return false;
}

} // namespace guitest

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (std::getenv("DISPLAY")) {
        wxApp::SetInstance(new wxApp);
        g_display = wxInitialize(argc, argv);
        if (g_display) wxInitAllImageHandlers();
        wxSetAssertHandler(FailOnAssert);
    }
    int rc = RUN_ALL_TESTS();
    // Leave without tearing the toolkit down: windows the tests made on the
    // stack are gone already, and GTK's shutdown can wait on the display.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(rc);
}
