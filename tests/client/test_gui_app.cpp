// The configuration block and file, the logs, the configuration dialog and
// the main window's modes, stepping and reconnection.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "appstate.h"
#include "config.h"
#include "configdlg.h"
#include "gui_support.h"
#include "logs.h"
#include "mainlogic.h"
#include "mainwnd.h"
#include "platform/platform.h"
#include "tempdir.h"

namespace {

std::string Folder(const testsupport::TempDir& t) { return t.path() + "/"; }

// A station of two cameras, made once.
const std::string& Station() {
    static testsupport::TempDir* dir = new testsupport::TempDir;
    static std::string root = [] {
        const std::string r = dir->path() + "/st";
        std::system((std::string(DVRSTATION) + " create '" + r + "' --cameras 2 --hours 0.01 --picture 64x48 > /dev/null")
                        .c_str());
        return r;
    }();
    return root;
}

} // namespace

TEST(ClientConfigBlock, LayoutOfTheTwentyThousandBytes) {
    ClientConfig c;
    c.SetPath(2, "/srv/cam3");
    c.SetReferences(1, {"N2: A", "N2: B", "N2: C", "N2: D", "N2: E"});  // five stored as four
    const uint8_t* b = c.Bytes();
    EXPECT_STREQ(reinterpret_cast<const char*>(b + 2048), "/srv/cam3");
    EXPECT_STREQ(reinterpret_cast<const char*>(b + 4096 + 4097 + 1024 * 3), "N2: D");
    EXPECT_EQ(b[4096 + 4097 + 4096], 4);
    EXPECT_EQ(c.Count(1), 4);
    EXPECT_EQ(c.References(1).back(), "N2: D");
    EXPECT_EQ(ClientConfig::kSize, 20484u);
}

TEST(ClientConfigBlock, BadFilesReadSafely) {
    struct Case { std::string bytes; };
    std::string overlong(30000, 'x');
    std::string counts(ClientConfig::kSize, '\0');
    counts[4096 + 4096] = 9;                          // camera 1's count above 4
    std::memcpy(&counts[4096], "N1: A", 5);
    std::string noNul(ClientConfig::kSize, 'p');      // texts without terminators
    for (const std::string& bytes : {std::string("short"), overlong, counts, noNul, std::string()}) {
        ClientConfig c;
        c.Parse(bytes);
        for (int cam = 0; cam < 4; ++cam) {
            EXPECT_LE(c.Path(cam).size(), 1023u);
            EXPECT_LE(c.Count(cam), 4);
        }
        // A clean block: every text terminated, counts in range.
        const uint8_t* b = c.Bytes();
        for (int cam = 0; cam < 4; ++cam) {
            EXPECT_EQ(b[1024 * cam + 1023], 0);
            EXPECT_LE(b[4096 + 4097 * cam + 4096], 4);
        }
    }
    ClientConfig c;
    c.Parse(counts);
    EXPECT_EQ(c.Count(0), 4);
    EXPECT_EQ(c.Reference(0, 0), "N1: A");
    c.SetPath(0, std::string(5000, 'q'));
    EXPECT_EQ(c.Path(0).size(), 1023u);
}

TEST(ClientConfigFile, FirstRunTakesTheRegistryAndSavesExactly) {
    testsupport::TempDir t;
    setenv("TRAKVUE_REGISTRY", (t.path() + "/reg.ini").c_str(), 1);
    ASSERT_TRUE(platform::RegistryWriteString("HKEY_LOCAL_MACHINE", "Software\\DVR", "Cam1_DatabasePath", "/srv/dvr/cam1"));
    ClientConfig c;
    bool first = false;
    LoadConfig(Folder(t), c, first);
    EXPECT_TRUE(first);
    EXPECT_EQ(c.Path(0), "/srv/dvr/cam1");
    EXPECT_TRUE(platform::StatPath((t.path() + "/Reg_Client.ini").c_str()).exists);  // created
    c.SetReferences(0, {"N1: TP101"});
    ASSERT_TRUE(SaveConfig(Folder(t), c));
    EXPECT_EQ(platform::StatPath((t.path() + "/Reg_Client.ini").c_str()).size, ClientConfig::kSize);
    ClientConfig again;
    LoadConfig(Folder(t), again, first);
    EXPECT_FALSE(first);
    EXPECT_EQ(again.Reference(0, 0), "N1: TP101");
    EXPECT_EQ(std::memcmp(again.Bytes(), c.Bytes(), ClientConfig::kSize), 0);
    unsetenv("TRAKVUE_REGISTRY");
}

TEST(ClientLogs, WorkAndDebugLines) {
    testsupport::TempDir t;
    platform::CalendarTime at;
    at.year = 2012; at.month = 2; at.day = 1; at.hour = 9; at.minute = 5; at.second = 3;
    const int64_t ms = platform::EpochMsFromLocal(at);
    platform::SetClock([ms] { return ms; });
    WorkLog work;
    work.Write("before opening", false);
    ASSERT_TRUE(work.Open(t.path() + "/Reg_Client.log"));
    work.Write("Start of working DVR Client", true);
    work.Write("Database archive was created", false);
    EXPECT_EQ(testsupport::ReadFile(t.path() + "/Reg_Client.log"),
              "\r\n01.02.2012 09:05:03 -> Start of working DVR Client\r\n\r\n"
              "01.02.2012 09:05:03 -> Database archive was created\r\n");
    DebugLog debug;
    ASSERT_TRUE(debug.Open(t.path() + "/ClientLog.log"));
    debug.Write("table loaded");
    EXPECT_EQ(testsupport::ReadFile(t.path() + "/ClientLog.log"), "09:05:03 > table loaded\n");
    EXPECT_EQ(ClockLabel(platform::LocalNow()), "01.02.2012\n09:05:03");
    platform::SetClock(nullptr);
    Instant i;
    i.day = DayNumber(1, 2, 2012);
    i.time = 32703007;
    EXPECT_EQ(DateTimeLabel(i), " Date/time: 01.02.2012  09:05:03:007");
}

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override {
        if (!guitest::HaveDisplay()) GTEST_SKIP() << "no display";
        AppState& s = AppState::Get();
        s.SetProgramFolder(home.path());
        s.config = ClientConfig();
        s.config.SetPath(0, Station() + "/cam1");
        s.config.SetPath(1, Station() + "/cam2");
        s.firstRun = false;
        s.ConnectDatabases();
        s.openDialogCount = 0;
        s.openFrameCount = 0;
        setenv("TRAKVUE_REGISTRY", (home.path() + "/reg.ini").c_str(), 1);
    }
    void TearDown() override {
        AppState::Get().session.CloseAllDatabases();
        unsetenv("TRAKVUE_REGISTRY");
    }
    testsupport::TempDir home;
};

TEST_F(AppFixture, ConfigDialogCancelDuplicatesAndClose) {
    AppState& s = AppState::Get();
    int reconnects = 0;
    CConfig dlg(nullptr, s, [&] { ++reconnects; });
    EXPECT_EQ(s.openDialogCount, 1);
    // Cancelling camera 2's folder dialog empties its field; Close stores that.
    dlg.chooseFolder = [](int, const wxString&) { return wxString(); };
    dlg.OnSelect(1);
    EXPECT_EQ(dlg.PathField(1)->GetValue(), "");
    EXPECT_EQ(s.config.Path(1), Station() + "/cam2");
    // A confirmed folder goes into the block at once and reconnects.
    dlg.chooseFolder = [](int, const wxString&) { return wxString::FromUTF8(Station() + "/cam1"); };
    dlg.OnSelect(2);
    EXPECT_EQ(s.config.Path(2), Station() + "/cam1");
    EXPECT_EQ(reconnects, 1);

    // The same parameter twice on one camera is refused; on another camera it is fine.
    EXPECT_EQ(dlg.Add("N1: Boiler temperature", "N1: TP101"), 0);
    EXPECT_EQ(dlg.Add("N1: Boiler temperature", "N1: TP101"), 1);
    EXPECT_EQ(dlg.List()->GetCount(), 1u);
    dlg.Camera()->SetSelection(1);
    dlg.ShowCameraList();
    EXPECT_EQ(dlg.List()->GetCount(), 0u);
    EXPECT_EQ(dlg.Add("N2: Boiler temperature", "N2: TP101"), 0);
    for (const char* id : {"PT102", "FT103", "LT104", "ST105"})
        EXPECT_EQ(dlg.Add("x", std::string("N2: ") + id), 0);
    EXPECT_EQ(dlg.Refs(1).size(), 5u);

    // Remove: the messages for an empty list and for no selection.
    guitest::AnswerDialogs answers(wxID_OK);
    dlg.Camera()->SetSelection(3);
    dlg.ShowCameraList();
    dlg.OnRemove();
    dlg.Camera()->SetSelection(1);
    dlg.ShowCameraList();
    dlg.OnRemove();
    ASSERT_EQ(answers.messages.size(), 2u);
    EXPECT_EQ(answers.messages[0], "No parameters in list");
    EXPECT_EQ(answers.messages[1], "Select parameter, please");
    EXPECT_EQ(answers.captions[0], "Remove parameter");
    dlg.List()->SetSelection(4);
    dlg.OnRemove();
    EXPECT_EQ(dlg.Refs(1).size(), 4u);

    dlg.OnCloseButton();
    EXPECT_EQ(s.config.Path(1), "");   // the cancelled field
    EXPECT_EQ(s.config.Count(0), 1);
    EXPECT_EQ(s.config.Count(1), 4);
    EXPECT_EQ(s.config.Reference(1, 0), "N2: TP101");
    EXPECT_EQ(s.openDialogCount, 0);
    EXPECT_EQ(reconnects, 2);
}

TEST_F(AppFixture, ConfigDialogDropsReferencesThatAreGone) {
    AppState& s = AppState::Get();
    s.config.SetReferences(0, {"N1: TP101", "N1: NOSUCH", "N1: PT102"});
    CConfig dlg(nullptr, s, nullptr);
    EXPECT_EQ(dlg.Refs(0).size(), 2u);
    EXPECT_EQ(dlg.List()->GetCount(), 2u);
    // The close box keeps the block as it was.
    dlg.OnCloseBox();
    EXPECT_EQ(s.config.Count(0), 3);
    EXPECT_EQ(s.openDialogCount, 0);
}

TEST_F(AppFixture, SelectionDialogTreeMarksAndMessages) {
    AppState& s = AppState::Get();
    struct Owner : IParameterListOwner {
        std::vector<std::string> refs;
        bool Contains(const std::string& r) override { return std::find(refs.begin(), refs.end(), r) != refs.end(); }
        int Add(const std::string&, const std::string& r) override {
            if (Contains(r)) return 1;
            refs.push_back(r);
            return 0;
        }
    } owner;
    owner.refs = {"N2: PT102"};
    std::shared_ptr<const ParamCatalogue> cat = s.session.Catalogue();
    CSelectParameters dlg(0, "Boiler", 1, &owner, 0, nullptr, false, cat, s.openDialogCount, "");
    EXPECT_EQ(s.openDialogCount, 1);
    // A trend band: no table-only parameters.
    const std::vector<int> band = TreeEntries(*cat, 0, 0);
    const std::vector<int> all = TreeEntries(*cat, 0, 1);
    EXPECT_LT(band.size(), all.size());
    for (int i : band) EXPECT_NE(cat->records[i].view, 0);
    EXPECT_EQ(dlg.Tree()->GetCount(), band.size() + 1);  // the group node and the parameters
    const int pt1 = 1, pt2 = 18 + 1;  // PT102 of camera 1 and of camera 2
    EXPECT_FALSE(dlg.IsBold(pt1));
    dlg.SetCamera(1);
    EXPECT_TRUE(dlg.IsBold(pt2));  // bold for camera 2, normal for camera 1

    dlg.SelectEntry(pt2);
    std::vector<std::string> lines = dlg.Lines();
    EXPECT_EQ(lines[0], "Name:                       Steam pressure");
    EXPECT_EQ(lines[2], "ProgID:                    PT102");
    EXPECT_EQ(lines[3], "Range:                     [0.000000 - 25.000000]");
    EXPECT_EQ(lines[5], "View:                        table, trend");
    EXPECT_EQ(lines[7], "Status:                     parameter for archive");
    guitest::AnswerDialogs answers;
    dlg.AddSelected();
    ASSERT_EQ(answers.messages.size(), 1u);
    EXPECT_EQ(answers.messages[0], "Parameters already in frame");
    EXPECT_EQ(answers.captions[0], "Add a parameter");
    dlg.SelectEntry(18);  // TP101 of camera 2
    dlg.AddSelected();
    EXPECT_EQ(answers.messages.size(), 1u);
    EXPECT_EQ(owner.refs.back(), "N2: TP101");
    EXPECT_TRUE(dlg.IsBold(18));
    dlg.SelectEntry(-1);
    EXPECT_EQ(dlg.Lines()[0], "");
    EXPECT_EQ(SelectionHeader(0, "Boiler", 1), "Frame: < Boiler > , band #2");
    EXPECT_EQ(SelectionHeader(1, "Microsoft Excel", 0), "Frame: < Microsoft Excel > , table");
}

TEST_F(AppFixture, MainWindowModesSteppingAndReconnection) {
    AppState& s = AppState::Get();
    const std::string exchange = "TrakvueTestExchange_" + std::to_string(getpid());
    platform::SharedByte::Unlink(exchange);
    {
        ClientConfig c = s.config;
        SaveConfig(s.ProgramFolder(), c);  // not a first run
    }
    MainWnd wnd(s, exchange);
    EXPECT_TRUE(wnd.LiveMode());
    EXPECT_FALSE(wnd.ForwardButton()->IsEnabled());
    EXPECT_FALSE(wnd.SetTimeButton()->IsEnabled());
    EXPECT_EQ(wnd.SamplePeriod(), 1000);
    wnd.Reconnect();
    const int before = wnd.Reconnections();

    // Another process sets the exchange byte: one tick reconnects and resets it.
    pid_t pid = fork();
    if (pid == 0) {
        platform::SharedByte b;
        _exit(b.Open(exchange) ? (b.Set(1), 0) : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    platform::SharedByte mine;
    ASSERT_TRUE(mine.Open(exchange));
    EXPECT_EQ(mine.Get(), 1);
    wnd.ClockTick();
    EXPECT_EQ(wnd.Reconnections(), before + 1);
    EXPECT_EQ(mine.Get(), 0);

    // Archive mode and stepping across midnight.
    wnd.EnterArchive();
    EXPECT_FALSE(wnd.LiveMode());
    EXPECT_TRUE(wnd.ForwardButton()->IsEnabled());
    Instant at;
    at.day = 100;
    at.time = 86399000;
    wnd.SetViewInstant(at);
    wnd.StepForward();
    EXPECT_EQ(wnd.ViewInstant().day, 100);
    EXPECT_EQ(wnd.ViewInstant().time, 86400000);
    EXPECT_EQ(wnd.DateTimeText()->GetLabel().utf8_string(), DateTimeLabel(wnd.ViewInstant()));
    wnd.StepForward();
    EXPECT_EQ(wnd.ViewInstant().day, 101);
    EXPECT_EQ(wnd.ViewInstant().time, 0);
    wnd.SetSampling(0);
    EXPECT_EQ(wnd.SamplePeriod(), 3600000);
    wnd.ApplyChosenTime(2004, 3, 1, 1, 2, 3, 0);
    EXPECT_EQ(wnd.ViewInstant().day, 1156);
    EXPECT_EQ(wnd.ViewInstant().time, 3723000);

    // With a dialog open the clock and text run, the views stay as they are.
    s.openDialogCount = 1;
    wxImage beforeImg = wnd.View(0)->Offscreen().ConvertToImage().GetSubImage(wxRect(0, 0, 200, 150));
    wnd.StepForward();
    wxImage afterImg = wnd.View(0)->Offscreen().ConvertToImage().GetSubImage(wxRect(0, 0, 200, 150));
    EXPECT_EQ(std::memcmp(beforeImg.GetData(), afterImg.GetData(), 200 * 150 * 3), 0);
    s.openDialogCount = 0;

    // "No" to the close question keeps everything; "Yes" saves and logs.
    {
        guitest::AnswerDialogs no(wxID_NO);
        EXPECT_FALSE(wnd.AskAndShutDown());
        ASSERT_EQ(no.messages.size(), 1u);
        EXPECT_EQ(no.messages[0], "Do you want to close client program?");
        EXPECT_EQ(no.captions[0], "Completion of the program");
    }
    {
        guitest::AnswerDialogs yes(wxID_YES);
        EXPECT_TRUE(wnd.AskAndShutDown());
    }
    EXPECT_EQ(platform::StatPath((s.ProgramFolder() + "Reg_Client.ini").c_str()).size, ClientConfig::kSize);
    const std::string log = testsupport::ReadFile(s.ProgramFolder() + "Reg_Client.log");
    EXPECT_NE(log.find("Start of working DVR Client"), std::string::npos);
    EXPECT_NE(log.find("Finishing of DVR Client working"), std::string::npos);
    std::string v;
    EXPECT_TRUE(platform::RegistryReadString("HKEY_CURRENT_USER",
                                             "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                                             "DisableTaskMgr", v));
    EXPECT_EQ(v, "0");
    platform::SharedByte::Unlink(exchange);
}

TEST_F(AppFixture, LiveRefreshShowsPicturesAndValues) {
    AppState& s = AppState::Get();
    s.config.SetReferences(0, {"N1: TP101"});
    SaveConfig(s.ProgramFolder(), s.config);
    MainWnd wnd(s, "TrakvueTestExchange2_" + std::to_string(getpid()));
    wnd.Reconnect();
    wnd.EnterArchive();
    uint16_t day;
    int32_t time;
    dbGetActualRecTime(s.session.Handle(0), &day, &time);
    Instant at;
    at.day = day;
    at.time = time - 2000;
    wnd.SetViewInstant(at);
    const wxSize size = wnd.View(0)->GetClientSize();
    wxImage img = wnd.View(0)->Offscreen().ConvertToImage();
    // A picture in the frame (not the grey fill), and the parameter line.
    const int ph = size.y - 84, pw = static_cast<int>(64.0 / 48 * ph);
    const int px = ((size.x - 20) - pw - 4) / 2 + 12;
    EXPECT_NE(guitest::Pixel(img, px + pw / 2, 12 + ph / 2), wxColour(221, 221, 221));
    EXPECT_TRUE(guitest::AnyPixelDiffers(img, wxRect(20, size.y - 50, 150, 12), wxColour(221, 221, 221)));
    // Camera 3 has no database: its view shows "No image".
    wxImage none = wnd.View(2)->Offscreen().ConvertToImage();
    const wxSize s3 = wnd.View(2)->GetClientSize();
    EXPECT_EQ(guitest::Pixel(none, s3.x / 2, 12 + (s3.y - 84) / 4), wxColour(221, 221, 221));
    wnd.EndWithoutQuestion();
}
