// Drawing of the camera view and the bitmap text button, and the date/time
// dialog, checked on bitmaps and through the handlers.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/settings.h>

#include "bitmaptextbutton.h"
#include "cameraview.h"
#include "datetimedlg.h"
#include "gui_support.h"
#include "platform/platform.h"
#include "splashabout.h"
#include "tempdir.h"

using guitest::AnyPixelDiffers;
using guitest::Pixel;

namespace {

const wxColour kFill(221, 221, 221);
const wxColour kFrame(0, 128, 0);

const DbValueInfo* Resolve(uint32_t, const char** name) {
    static std::map<std::string, DbValueInfo> table = {{"TP101", {9, "%.1f", 0}}, {"FT103", {6, "%d", 4}}};
    auto it = table.find(*name);
    return it == table.end() ? nullptr : &it->second;
}

// A sample with TP101 = 12.5 and FT103 = 7, and the given status.
struct Sample {
    explicit Sample(uint16_t status) {
        std::memset(&b, 0, sizeof b);
        DbDescriptor d{};
        d.recordSize = 8;
        d.resolver = &Resolve;
        for (int i = 0; i < 3; ++i) {
            blocks[i].assign(24, 0);
            std::memcpy(b.section[i].descriptor, &d, sizeof d);
            b.section[i].data = blocks[i].data();
            b.section[i].capacity = 24;
            b.section[i].current = b.section[i].data;
            std::memcpy(blocks[i].data(), &status, 2);
            float t = 12.5f;
            int32_t f = 7;
            std::memcpy(blocks[i].data() + 16, &t, 4);
            std::memcpy(blocks[i].data() + 20, &f, 4);
        }
    }
    SampleBuffer b;
    std::vector<uint8_t> blocks[3];
};

ParamCatalogue* Catalogue() {
    static ParamCatalogue* cat = [] {
        auto* c = new ParamCatalogue;
        std::memset(c->records, 0, sizeof c->records);
        std::strcpy(c->records[0].progId, "TP101");
        std::strcpy(c->records[0].label, "Temperature");
        std::strcpy(c->records[1].progId, "FT103");
        std::strcpy(c->records[1].label, "Flow");
        c->count = 2;
        return c;
    }();
    return cat;
}

wxImage Draw(const CameraFrame& f, int w = 400, int h = 300) {
    wxBitmap bmp(w, h, 24);
    {
        wxMemoryDC dc(bmp);
        wxBitmap scratch;
        DrawCameraView(dc, w, h, f, scratch);
    }
    return bmp.ConvertToImage();
}

bool HasLineColour(const wxImage& img, const wxRect& r) {
    for (int y = r.y; y <= r.GetBottom(); ++y)
        for (int x = r.x; x <= r.GetRight(); ++x) {
            wxColour c = Pixel(img, x, y);
            if (c.Green() > c.Red() + 15 && c.Green() < 150) return true;  // (34,68,34) text
        }
    return false;
}

} // namespace

TEST(CameraView, NewViewShowsNoImageAndCaption) {
    REQUIRE_DISPLAY();
    CameraFrame f;
    f.camera = 2;
    const int w = 400, h = 300;
    wxImage img = Draw(f, w, h);
    EXPECT_EQ(Pixel(img, 3, 3), kFill);
    EXPECT_EQ(Pixel(img, 10, 100), kFrame);           // left edge of the picture frame
    EXPECT_EQ(Pixel(img, 10 + w - 20 - 1, 100), kFrame);  // right edge
    EXPECT_EQ(Pixel(img, 50, 50), kFill);             // inside the frame
    EXPECT_TRUE(AnyPixelDiffers(img, wxRect(w / 2 - 20, (h - 80) / 2, 60, 14), kFill));  // "No image"
    EXPECT_TRUE(AnyPixelDiffers(img, wxRect(w / 2 - 20, h - 20, 60, 14), kFill));        // "Camera 3"
    EXPECT_FALSE(AnyPixelDiffers(img, wxRect(20, h - 50, 100, 25), kFill));             // no parameter lines
}

TEST(CameraView, PictureExpiredBoxAndParameterLines) {
    REQUIRE_DISPLAY();
    const int w = 400, h = 300;
    std::vector<uint8_t> rgb(64 * 48 * 3);
    for (size_t i = 0; i < rgb.size(); i += 3) rgb[i] = 200;
    CameraFrame f;
    f.picture = rgb.data();
    f.width = 64;
    f.height = 48;
    f.catalogue = Catalogue();
    f.references = {"N1: TP101", "N1: GONE", "N1: FT103"};

    Sample current(0xFFFF);
    f.sample = &current.b;
    wxImage img = Draw(f, w, h);
    const int ph = h - 84, pw = static_cast<int>(64.0 / 48 * ph);
    const int px = ((w - 20) - pw - 4) / 2 + 12;
    EXPECT_EQ(Pixel(img, px + pw / 2, 12 + ph / 2), wxColour(200, 0, 0));  // centred picture
    EXPECT_EQ(Pixel(img, px - 2, 12 + ph / 2), kFill);
    EXPECT_EQ(Pixel(img, px + pw + 1, 12 + ph / 2), kFill);
    EXPECT_TRUE(HasLineColour(img, wxRect(20, h - 50, 150, 14)));       // line 0
    EXPECT_FALSE(HasLineColour(img, wxRect(20, h - 30, 150, 6)));       // line 1: record gone, left empty
    EXPECT_TRUE(HasLineColour(img, wxRect(w / 2 + 50, h - 50, 100, 14)));  // line 2 keeps its place
    EXPECT_EQ(ParameterLineText(f, 0), "Temperature = 12.5");
    EXPECT_EQ(ParameterLineText(f, 1), "");
    EXPECT_EQ(ParameterLineText(f, 2), "Flow = 7");

    Sample expired(0);
    f.sample = &expired.b;
    img = Draw(f, w, h);
    EXPECT_EQ(Pixel(img, w / 2 - 60, (h - 80) / 2 + 5), kFrame);  // the box's left edge
    EXPECT_EQ(Pixel(img, w / 2 - 55, (h - 80) / 2 - 1), kFill);   // its inside
    EXPECT_FALSE(HasLineColour(img, wxRect(20, h - 50, 150, 30)));
}

TEST(CameraView, WindowKeepsItsOffscreenBitmap) {
    REQUIRE_DISPLAY();
    wxFrame frame(nullptr, wxID_ANY, "t");
    CCameraView view(&frame, wxDefaultPosition, wxSize(300, 200), 0);
    EXPECT_EQ(view.Offscreen().GetWidth(), 1920);
    EXPECT_EQ(view.Offscreen().GetHeight(), 1080);
}

TEST(BitmapTextButton, FaceIconTextPressedAndDisabled) {
    REQUIRE_DISPLAY();
    wxImage iconImg(16, 16);
    iconImg.SetRGB(wxRect(0, 0, 16, 16), 255, 0, 0);
    ButtonLook look = MakeButtonLook(wxBitmap(iconImg), "View archive", kBtnAutoDraw | kBtnLeft);
    const wxSize size(110, 30);
    EXPECT_EQ(ButtonIconPosition(look, size, false), wxPoint(4, 7));
    EXPECT_EQ(ButtonTextPosition(look, size, false), wxPoint(23, 7));
    EXPECT_EQ(ButtonIconPosition(look, size, true), wxPoint(5, 8));
    EXPECT_EQ(ButtonTextPosition(look, size, true), wxPoint(24, 8));

    wxImage up = RenderButton(look, size, false, true);
    EXPECT_EQ(Pixel(up, 100, 4), wxColour(224, 224, 255));  // the face
    EXPECT_EQ(Pixel(up, 0, 15), wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT));
    EXPECT_EQ(Pixel(up, 109, 15), wxSystemSettings::GetColour(wxSYS_COLOUR_3DDKSHADOW));
    EXPECT_EQ(Pixel(up, 4, 7), wxColour(255, 0, 0));        // icon at (4, 7)
    EXPECT_NE(Pixel(up, 4, 6), wxColour(255, 0, 0));
    EXPECT_TRUE(AnyPixelDiffers(up, wxRect(23, 7, 60, 14), wxColour(224, 224, 255)));  // the name

    wxImage down = RenderButton(look, size, true, true);
    EXPECT_EQ(Pixel(down, 5, 8), wxColour(255, 0, 0));      // shifted by one pixel
    EXPECT_NE(Pixel(down, 4, 7), wxColour(255, 0, 0));
    EXPECT_EQ(Pixel(down, 0, 15), wxSystemSettings::GetColour(wxSYS_COLOUR_3DDKSHADOW));  // edges swapped

    // Disabled: every other pixel inside the margins ORed with the face.
    wxImage off = RenderButton(look, size, false, false);
    EXPECT_EQ(Pixel(off, 5, 8), wxColour(255, 224, 255));   // red icon | lavender
    EXPECT_EQ(Pixel(off, 4, 8), wxColour(255, 0, 0));       // the black square leaves it
    // A new background colour is what the pattern uses next time.
    look.background = wxColour(0, 0, 128);
    off = RenderButton(look, size, false, false);
    EXPECT_EQ(Pixel(off, 5, 8), wxColour(255, 0, 128));

    // An empty name draws the icon alone.
    ButtonLook iconOnly = MakeButtonLook(wxBitmap(iconImg), "", kBtnAutoDraw | kBtnLeft);
    wxImage plain = RenderButton(iconOnly, wxSize(23, 23), false, true);
    EXPECT_EQ(Pixel(plain, 4, 3), wxColour(255, 0, 0));
    EXPECT_FALSE(AnyPixelDiffers(plain, wxRect(20, 3, 1, 16), wxColour(224, 224, 255)));
}

TEST(BitmapTextButton, ClickSendsTheButtonEvent) {
    REQUIRE_DISPLAY();
    wxFrame frame(nullptr, wxID_ANY, "t");
    auto* b = new wxBitmapTextButton(&frame, 3000, wxBitmap(), wxDefaultPosition, wxSize(120, 23),
                                     kBtnAutoDraw | kBtnLeft, wxDefaultValidator, "Live streaming");
    int clicks = 0;
    frame.Bind(wxEVT_BUTTON, [&](wxCommandEvent& e) { clicks += e.GetId() == 3000; });
    wxMouseEvent down(wxEVT_LEFT_DOWN), up(wxEVT_LEFT_UP);
    down.SetPosition(wxPoint(5, 5));
    up.SetPosition(wxPoint(5, 5));
    b->GetEventHandler()->ProcessEvent(down);
    EXPECT_TRUE(b->Pressed());
    b->GetEventHandler()->ProcessEvent(up);
    EXPECT_EQ(clicks, 1);
    b->Enable(false);
    b->GetEventHandler()->ProcessEvent(down);
    b->GetEventHandler()->ProcessEvent(up);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->GetName(), "Live streaming");
}

TEST(DateTimeDialog, StartWrapAndGmt) {
    REQUIRE_DISPLAY();
    DataSession session;
    std::atomic<int> open{0};
    // Day 0 and time 0: the local time now, to the second.
    platform::CalendarTime at;
    at.year = 2026; at.month = 12; at.day = 11; at.hour = 23; at.minute = 59; at.second = 58;
    const int64_t ms = platform::EpochMsFromLocal(at);
    platform::SetClock([ms] { return ms; });
    {
        CSelectDateTime dlg(nullptr, "Select date/time", 0, 0, session, open, "");
        EXPECT_EQ(open, 1);
        EXPECT_EQ(dlg.Hour()->GetValue(), 23);
        EXPECT_EQ(dlg.Minute()->GetValue(), 59);
        EXPECT_EQ(dlg.Second()->GetValue(), 58);
        EXPECT_EQ(dlg.Picker()->GetValue().GetDay(), 11);
        EXPECT_TRUE(dlg.Minute()->HasFlag(wxSP_WRAP));
        EXPECT_EQ(dlg.GetSize(), wxSize(350, 220));
        // Accepting with the box ticked switches the whole session to GMT.
        dlg.Gmt()->SetValue(true);
        dlg.Minute()->SetValue(0);  // as the arrow wraps 59 -> 0, the hour stays
        wxCommandEvent ok(wxEVT_BUTTON, CSelectDateTime::ID_OK);
        dlg.OnOk(ok);
        EXPECT_TRUE(session.Gmt());
        EXPECT_EQ(open, 0);
        EXPECT_EQ(dlg.DateTimeText(), "11.12.2026 23:00:58");
        EXPECT_EQ(dlg.Chosen().GetMillisecond(), 0);
    }
    EXPECT_EQ(open, 0);
    platform::SetClock(nullptr);

    // From a given instant; the close box changes nothing.
    CSelectDateTime dlg(nullptr, "Set the start time", DayNumber(1, 3, 2004), 3723000, session, open, "");
    EXPECT_TRUE(dlg.Gmt()->GetValue());
    EXPECT_EQ(dlg.Picker()->GetValue().GetMonth(), wxDateTime::Mar);
    EXPECT_EQ(dlg.Hour()->GetValue(), 1);
    EXPECT_EQ(dlg.Second()->GetValue(), 3);
    dlg.Gmt()->SetValue(false);
    wxCloseEvent close(wxEVT_CLOSE_WINDOW);
    dlg.OnClose(close);
    EXPECT_TRUE(session.Gmt());
    EXPECT_FALSE(dlg.Chosen().IsValid());
    EXPECT_EQ(open, 0);
}

TEST(SplashAbout, TextLogoAndMissingLogo) {
    REQUIRE_DISPLAY();
    wxFrame frame(nullptr, wxID_ANY, "t");
    CSplashWnd splash(&frame);
    splash.SetText("Connection to database...");  // hidden: changes the text only
    EXPECT_FALSE(splash.IsShown());
    EXPECT_EQ(splash.Text(), "Connection to database...");
    EXPECT_EQ(splash.GetSize(), wxSize(350, 35));

    CAboutDialog about(wxString::FromUTF8(std::string(TRAKVUE_PROGRAM_DIR) + "/"));
    EXPECT_TRUE(about.Logo()->Bitmap().IsOk());
    EXPECT_EQ(about.Logo()->Bitmap().GetWidth(), 320);
    testsupport::TempDir empty;
    CAboutDialog noLogo(wxString::FromUTF8(empty.path() + "/"));
    EXPECT_FALSE(noLogo.Logo()->Bitmap().IsOk());
    EXPECT_EQ(noLogo.GetTitle(), "About program");
    EXPECT_EQ(noLogo.GetName(), "About DVR Client program");
}
