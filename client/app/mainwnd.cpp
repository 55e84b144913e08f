#include "mainwnd.h"

#include <wx/display.h>
#include <wx/icon.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>

#include "configdlg.h"
#include "createframe.h"
#include "datetimedlg.h"
#include "mainlogic.h"

MainWnd::MainWnd(AppState& state, const std::string& exchangeName)
    : wxDialog(nullptr, wxID_ANY, "Digital Video Recording - client v2.1", wxPoint(0, 0), wxSize(1280, 1024),
               wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxMAXIMIZE_BOX | wxCLOSE_BOX, "dialogBox"),
      m_state(state),
      m_connectTimer(this, ID_CONNECT_TIMER),
      m_clockTimer(this, ID_CLOCK_TIMER) {
    InitBuffer(m_buffer);
    const std::string folder = m_state.ProgramFolder();
    wxIcon icon;
    if (wxFileExists(folder + "Res/MainWnd.ico") && icon.LoadFile(folder + "Res/MainWnd.ico", wxBITMAP_TYPE_ICO))
        SetIcon(icon);
    m_state.debugLog.Open(folder + "ClientLog.log");
    m_on = Icon("Button_ON.ico");
    m_off = Icon("Button_OFF.ico");

    m_splash = new CSplashWnd(this);
    m_splash->SetText("Loading parameters...");
    m_splash->Show();
    if (m_exchange.Open(exchangeName)) m_exchange.Set(0);
    LoadConfig(folder, m_state.config, m_state.firstRun);
    m_splash->SetText("Main window creating...");
    LoadFrames(folder, m_state.frames);
    BuildControls();
    m_view = LiveInstant(platform::LocalNow());
    m_state.workLog.Open(folder + "Reg_Client.log");
    m_state.workLog.Write("Start of working DVR Client", true);

    Bind(wxEVT_TIMER, &MainWnd::OnTimer, this);
    Bind(wxEVT_CLOSE_WINDOW, &MainWnd::OnCloseWindow, this);
    Bind(wxEVT_MENU, &MainWnd::OnMenu, this);
    Bind(wxEVT_ACTIVATE, [this](wxActivateEvent& e) {
        if (e.GetActive()) Raise();
        e.Skip();
    });
    m_connectTimer.StartOnce(20);
    m_clockTimer.Start(40);
    EnterLive();
}

MainWnd::~MainWnd() {
    m_clockTimer.Stop();
    m_connectTimer.Stop();
    FreeBuffer(m_buffer);
}

wxBitmap MainWnd::Icon(const char* file) {
    const wxString path = wxString::FromUTF8(m_state.ProgramFolder()) + "Res/" + file;
    wxImage img;
    if (wxFileExists(path) && img.LoadFile(path, wxBITMAP_TYPE_ICO)) return wxBitmap(img);
    return wxBitmap();
}

void MainWnd::BuildControls() {
    const long style = kBtnAutoDraw | kBtnLeft;
    auto* top = new wxBoxSizer(wxVERTICAL);

    auto* row1 = new wxBoxSizer(wxHORIZONTAL);
    m_viewArchive = new wxBitmapTextButton(this, ID_VIEW_ARCHIVE, Icon("MainMenu_RunFrame.ico"), wxDefaultPosition,
                                           wxSize(110, 30), style, wxDefaultValidator, "View archive");
    m_copyArchive = new wxBitmapTextButton(this, ID_COPY_ARCHIVE, Icon("MainMenu_Archive.ico"), wxDefaultPosition,
                                           wxSize(110, 30), style, wxDefaultValidator, "Copy archive");
    m_export = new wxBitmapTextButton(this, ID_EXPORT, Icon("MainMenu_Export.ico"), wxDefaultPosition, wxSize(85, 30),
                                      style, wxDefaultValidator, "Export");
    m_service = new wxBitmapTextButton(this, ID_SERVICE, Icon("MainMenu_PO.ico"), wxDefaultPosition, wxSize(80, 30),
                                       style, wxDefaultValidator, "Service");
    m_export->Enable(false);  // the export window comes with its own issue
    for (wxWindow* w : {static_cast<wxWindow*>(m_viewArchive), static_cast<wxWindow*>(m_copyArchive),
                        static_cast<wxWindow*>(m_export), static_cast<wxWindow*>(m_service)})
        row1->Add(w, 0, wxALL, 2);
    row1->Add(new wxStaticText(this, wxID_ANY, "           "), 0);
    row1->AddStretchSpacer();
    m_clock = new wxButton(this, ID_CLOCK, wxString::FromUTF8(ClockLabel(platform::LocalNow())), wxDefaultPosition,
                           wxSize(80, 30));
    m_clock->SetToolTip("Current time");
    // Two lines in 30 pixels: a small font.
    m_clock->SetFont(wxFont(7, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL));
    m_clock->SetBackgroundColour(wxColour(128, 255, 128));
    m_clock->SetForegroundColour(wxColour(0, 0, 255));
    row1->Add(m_clock, 0, wxALL, 2);
    top->Add(row1, 0, wxEXPAND);

    auto* row2 = new wxBoxSizer(wxHORIZONTAL);
    m_liveButton = new wxBitmapTextButton(this, ID_LIVE, m_off, wxDefaultPosition, wxSize(120, 23), style,
                                          wxDefaultValidator, "Live streaming");
    m_archiveButton = new wxBitmapTextButton(this, ID_ARCHIVE, m_off, wxDefaultPosition, wxSize(80, 23), style,
                                             wxDefaultValidator, "Archive");
    wxArrayString entries;
    for (const SamplingEntry& e : kSamplingEntries) entries.Add(e.label);
    m_sampling = new wxComboBox(this, ID_SAMPLING, entries[kInitialSampling], wxDefaultPosition, wxSize(130, 20),
                                entries, wxCB_READONLY);
    m_sampling->SetFont(wxFont(8, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL));
    SetSampling(kInitialSampling);
    // Drawn like the other buttons: the toolkit's own push button has no
    // room for its label at 25 x 23.
    m_back = new wxBitmapTextButton(this, ID_BACK, wxBitmap(), wxDefaultPosition, wxSize(25, 23), kBtnAutoDraw,
                                    wxDefaultValidator, "<-");
    m_forward = new wxBitmapTextButton(this, ID_FORWARD, wxBitmap(), wxDefaultPosition, wxSize(25, 23), kBtnAutoDraw,
                                       wxDefaultValidator, "->");
    m_setTime = new wxBitmapTextButton(this, ID_SET_TIME, Icon("Wnd_Time.ico"), wxDefaultPosition, wxSize(23, 23),
                                       style, wxDefaultValidator, wxEmptyString);
    m_setTime->SetToolTip("Set time");
    m_dateText = new wxStaticText(this, wxID_ANY, wxEmptyString);
    for (wxWindow* w : {static_cast<wxWindow*>(m_liveButton), static_cast<wxWindow*>(m_archiveButton),
                        static_cast<wxWindow*>(m_sampling), static_cast<wxWindow*>(m_back),
                        static_cast<wxWindow*>(m_forward), static_cast<wxWindow*>(m_setTime)})
        row2->Add(w, 0, wxALL | wxALIGN_CENTER_VERTICAL, 2);
    row2->Add(m_dateText, 0, wxALL | wxALIGN_CENTER_VERTICAL, 4);
    top->Add(row2, 0, wxEXPAND);

    const wxRect work = wxDisplay(0u).GetClientArea();
    const wxSize viewSize((work.width - 20) / 2, (work.height - 100) / 2);
    auto* grid = new wxGridSizer(2, 2, 2, 2);
    for (int c = 0; c < 4; ++c) {
        m_views[c] = new CCameraView(this, wxDefaultPosition, viewSize, c);
        grid->Add(m_views[c], 0);
    }
    top->Add(grid, 0, wxALL, 4);
    SetSizer(top);
    Layout();

    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        wxMenu menu;
        AddMenuItem(menu, ID_TRENDS, "Trends", "MenuFrame_Trend.ico", false);
        AddMenuItem(menu, ID_TABLES, "Tables", "MenuFrame_Table.ico", false);
        menu.AppendSeparator();
        AddMenuItem(menu, ID_NEW_FRAME, "New frame", "Wnd_Modify.ico", true);
        PopupAt(m_viewArchive, menu);
    }, ID_VIEW_ARCHIVE);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        wxMenu menu;
        AddMenuItem(menu, ID_CREATE_ARCHIVE, "Create database archive", "MenuArchive_Ar.ico", false);
        AddMenuItem(menu, ID_SAVE_AVI, "Save file as AVI", "Film.ico", false);
        PopupAt(m_copyArchive, menu);
    }, ID_COPY_ARCHIVE);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        wxMenu menu;
        AddMenuItem(menu, ID_CONFIGURATION, "Configuration", "MainMenu_Access.ico", true);
        AddMenuItem(menu, ID_HELP, "Help", "MainMenu_Print.ico", true);
        menu.AppendSeparator();
        AddMenuItem(menu, ID_ABOUT, "About program", "MainMenu_Help.ico", true);
        PopupAt(m_service, menu);
    }, ID_SERVICE);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EnterLive(); }, ID_LIVE);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EnterArchive(); }, ID_ARCHIVE);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { StepForward(); }, ID_FORWARD);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { StepBack(); }, ID_BACK);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnSetTime(); }, ID_SET_TIME);
    Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { SetSampling(m_sampling->GetSelection()); }, ID_SAMPLING);
}

void MainWnd::AddMenuItem(wxMenu& menu, int id, const char* label, const char* icon, bool enabled) {
    auto* item = new wxMenuItem(&menu, id, label);
    wxBitmap bmp = Icon(icon);
    if (bmp.IsOk()) item->SetBitmap(bmp);
    menu.Append(item);
    item->Enable(enabled);
}

void MainWnd::PopupAt(wxWindow* button, wxMenu& menu) { PopupMenu(&menu, button->GetPosition().x + 15, 30); }

void MainWnd::SetSampling(int index) {
    if (index < 0 || index >= static_cast<int>(sizeof kSamplingEntries / sizeof kSamplingEntries[0])) return;
    m_period = kSamplingEntries[index].period;
    if (m_sampling && m_sampling->GetSelection() != index) m_sampling->SetSelection(index);
}

void MainWnd::Reconnect() {
    m_splash->SetText("Connection to database...");
    m_state.ConnectDatabases();
    ++m_reconnections;
    m_splash->Hide();
    if (m_state.firstRun) {
        m_state.firstRun = false;
        CConfig dlg(this, m_state, [this] { Reconnect(); });
        dlg.ShowModal();
        SaveConfig(m_state.ProgramFolder(), m_state.config);
    }
}

void MainWnd::ClockTick() {
    m_clock->SetLabel(wxString::FromUTF8(ClockLabel(platform::LocalNow())));
    if (m_exchange.IsOpen() && m_exchange.Get() != 0) {
        m_exchange.Set(0);
        Reconnect();
    }
    if (m_live) RefreshMainView();
}

void MainWnd::RefreshMainView() {
    if (m_live) m_view = LiveInstant(platform::LocalNow());
    if (m_state.openFrameCount == 0 && m_state.openDialogCount == 0) {
        std::shared_ptr<const ParamCatalogue> cat = m_state.session.Catalogue();
        for (int c = 0; c < 4; ++c) {
            const DbHandle h = m_state.session.Handle(c);
            if (h == DB_INVALID_HANDLE) continue;
            int32_t w = 0, ht = 0;
            uint8_t* data = nullptr;
            ReadSample(m_state.session, h, m_view, m_buffer, &w, &ht, &data);
            std::lock_guard<std::recursive_mutex> lock(m_state.cameraLock);
            m_views[c]->ShowSample(&m_buffer, data, w, ht, m_state.config.References(c), cat.get());
        }
    }
    m_dateText->SetLabel(wxString::FromUTF8(DateTimeLabel(m_view)));
}

void MainWnd::EnterLive() {
    m_live = true;
    m_archiveButton->SetBitmapLabel(m_off);
    m_liveButton->SetBitmapLabel(m_on);
    m_setTime->Enable(false);
    m_forward->Enable(false);
    m_back->Enable(false);
}

void MainWnd::EnterArchive() {
    m_live = false;
    m_liveButton->SetBitmapLabel(m_off);
    m_archiveButton->SetBitmapLabel(m_on);
    m_setTime->Enable(true);
    m_forward->Enable(true);
    m_back->Enable(true);
}

void MainWnd::StepForward() {
    m_forward->Enable(false);
    m_back->Enable(false);
    m_view = ::StepForward(m_view, m_period);
    RefreshMainView();
    m_forward->Enable(true);
    m_back->Enable(true);
}

void MainWnd::StepBack() {
    m_forward->Enable(false);
    m_back->Enable(false);
    m_view = ::StepBack(m_view, m_period);
    RefreshMainView();
    m_forward->Enable(true);
    m_back->Enable(true);
}

void MainWnd::SetViewInstant(const Instant& at) {
    m_view = at;
    RefreshMainView();
}

void MainWnd::ApplyChosenTime(int year, int month, int day, int hour, int minute, int second, int ms) {
    Instant at;
    at.time = ms + 1000 * second + 60000 * minute + 3600000 * hour;
    at.day = DayNumber(static_cast<unsigned>(day), static_cast<unsigned>(month), static_cast<unsigned>(year));
    SetViewInstant(at);
}

void MainWnd::OnSetTime() {
    CSelectDateTime dlg(this, "Select date/time", m_view.day, m_view.time, m_state.session, m_state.openDialogCount,
                        wxString::FromUTF8(m_state.ProgramFolder()));
    if (dlg.ShowModal() != 4) return;
    const wxDateTime& t = dlg.Chosen();
    ApplyChosenTime(t.GetYear(), t.GetMonth() + 1, t.GetDay(), t.GetHour(), t.GetMinute(), t.GetSecond(),
                    t.GetMillisecond());
}

void MainWnd::OnMenu(wxCommandEvent& e) {
    switch (e.GetId()) {
    case ID_CONFIGURATION: {
        CConfig dlg(this, m_state, [this] { Reconnect(); });
        dlg.ShowModal();
        SaveConfig(m_state.ProgramFolder(), m_state.config);
        break;
    }
    case ID_NEW_FRAME: {
        CCreateFrame dlg(this, std::string(), m_state.frames, m_state.session.Catalogue(), m_state.openDialogCount,
                         m_state.ProgramFolder());
        dlg.ShowModal();
        break;
    }
    case ID_ABOUT: {
        CAboutDialog dlg(wxString::FromUTF8(m_state.ProgramFolder()));
        dlg.ShowModal();
        break;
    }
    case ID_HELP:
        // The result is ignored, as a missing viewer only means no help.
        platform::ShellOpen(platform::ShellTarget::HelpViewer, m_state.ProgramFolder() + "Help.html");
        break;
    default:
        e.Skip();
    }
}

void MainWnd::OnTimer(wxTimerEvent& e) {
    if (e.GetId() == ID_CONNECT_TIMER) Reconnect();
    else if (e.GetId() == ID_CLOCK_TIMER) ClockTick();
}

bool MainWnd::AskAndShutDown() {
    const int answer = wxMessageBox("Do you want to close client program?", "Completion of the program",
                                    wxYES_NO | wxNO_DEFAULT, this);
    if (answer != wxYES) return false;
    ShutDown();
    return true;
}

void MainWnd::ShutDown() {
    if (m_shutDown) return;
    m_shutDown = true;
    m_exchange.Close();
    m_clockTimer.Stop();
    m_connectTimer.Stop();
    SaveConfig(m_state.ProgramFolder(), m_state.config);
    m_state.workLog.Write("Finishing of DVR Client working", true);
    m_state.workLog.Close();
    platform::RegistryWriteDword("HKEY_CURRENT_USER", "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                                 "DisableTaskMgr", 0);
    m_state.session.CloseAllDatabases();
    if (IsModal()) EndModal(0);
}

void MainWnd::EndWithoutQuestion() { ShutDown(); }

void MainWnd::OnCloseWindow(wxCloseEvent& e) {
    if (!AskAndShutDown()) e.Veto();
}
