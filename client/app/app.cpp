// ZEMT_Client_App: warns about a second copy, runs the main window modally
// for the life of the process.
#include <wx/app.h>
#include <wx/cmdline.h>
#include <wx/image.h>
#include <wx/msgdlg.h>
#include <wx/timer.h>

#include "appstate.h"
#include "mainwnd.h"
#include "platform/platform.h"

namespace {

const char kMutexName[] = "REG_CLIENT-088FA840-B10D-11D3-BC36-006067709674";

// Demo mode: screenshots of the main window in live and in archive mode,
// taken with the X display's own grabber, then a quiet exit. The first one
// waits until the live view (5 s behind the clock) reaches what the
// recorder started recording when the client started.
class ScreenshotRun : public wxTimer {
public:
    ScreenshotRun(MainWnd* wnd, std::string dir) : m_wnd(wnd), m_dir(std::move(dir)) { Start(8000); }
    void Notify() override {
        if (m_step == 0) {
            Grab("live.png");
            m_wnd->EnterArchive();
            Instant at = m_wnd->ViewInstant();
            dbAddMsToDateTime(&at.day, &at.time, -600000);
            m_wnd->SetViewInstant(at);
            m_wnd->StepForward();
            m_step = 1;
            Start(1500, true);
        } else {
            Grab("archive.png");
            Stop();
            m_wnd->EndWithoutQuestion();
        }
    }

private:
    void Grab(const char* name) {
        m_wnd->Update();
        wxYield();
        int code = 0;
        const std::string cmd = "import -window root \"" + m_dir + "/" + name + "\"";
        if (!platform::RunAndWait(cmd.c_str(), code) || code != 0)
            std::fprintf(stderr, "Trakvue: could not save %s/%s\n", m_dir.c_str(), name);
    }
    MainWnd* m_wnd;
    std::string m_dir;
    int m_step = 0;
};

} // namespace

class ZEMT_Client_App : public wxApp {
public:
    bool OnInit() override {
        wxInitAllImageHandlers();
        wxString screenshots;
        for (int i = 1; i + 1 < argc; ++i) {
            if (argv[i] == "--screenshots") screenshots = argv[i + 1];
        }
        AppState& state = AppState::Get();
        for (int i = 0; i < 4; ++i) state.session.SetHandle(i, DB_INVALID_HANDLE);
        if (!m_lock.TryAcquire(kMutexName))
            wxMessageBox("One copy of the program \"Digital video recording - client\" already runned", "Warning!",
                         wxOK | wxICON_EXCLAMATION);
        std::string exchange = platform::GetEnv("TRAKVUE_EXCHANGE_NAME");
        if (exchange.empty()) exchange = "DVR_ExchangeMemory";
        MainWnd* wnd = new MainWnd(state, exchange);
        platform::SetLowPriority(5);
        std::unique_ptr<ScreenshotRun> run;
        if (!screenshots.empty()) run = std::make_unique<ScreenshotRun>(wnd, screenshots.utf8_string());
        wnd->Maximize();
        wnd->ShowModal();
        run.reset();
        wnd->Destroy();
        m_done = true;
        return true;
    }
    int OnRun() override { return m_done ? 0 : wxApp::OnRun(); }

private:
    platform::NamedLock m_lock;
    bool m_done = false;
};

wxIMPLEMENT_APP(ZEMT_Client_App);
