// MainWnd: the operator's console: menu buttons, time controls, clock and
// the 2 x 2 grid of camera views.
#pragma once

#include <memory>
#include <string>

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/stattext.h>
#include <wx/timer.h>

#include "appstate.h"
#include "bitmaptextbutton.h"
#include "cameraview.h"
#include "platform/platform.h"
#include "sample.h"
#include "splashabout.h"

class MainWnd : public wxDialog {
public:
    enum {
        ID_CONNECT_TIMER = 0, ID_CLOCK_TIMER = 2, ID_CLOCK = 102, ID_LIVE = 3000, ID_ARCHIVE = 3001,
        ID_SAMPLING = 4, ID_BACK = 1003, ID_FORWARD = 1002, ID_SET_TIME = 1006, ID_VIEW_ARCHIVE = 5017,
        ID_COPY_ARCHIVE = 5020, ID_EXPORT = 5021, ID_SERVICE = 5025, ID_TRENDS = 5049, ID_TABLES = 5050,
        ID_NEW_FRAME = 5018, ID_CREATE_ARCHIVE = 5045, ID_SAVE_AVI = 5046, ID_CONFIGURATION = 5027,
        ID_HELP = 5030, ID_ABOUT = 5029,
    };

    // exchangeName: the shared memory through which other programs ask for
    // a reconnection.
    MainWnd(AppState& state, const std::string& exchangeName);
    ~MainWnd() override;

    void Reconnect();
    void RefreshMainView();
    void ClockTick();
    void EnterLive();
    void EnterArchive();
    void StepForward();
    void StepBack();
    void SetViewInstant(const Instant& at);
    // Applies a time chosen in the date/time dialog.
    void ApplyChosenTime(int year, int month, int day, int hour, int minute, int second, int ms);
    void SetSampling(int index);
    // The close question; true when the program ends.
    bool AskAndShutDown();

    bool LiveMode() const { return m_live; }
    Instant ViewInstant() const { return m_view; }
    int32_t SamplePeriod() const { return m_period; }
    CCameraView* View(int camera) { return m_views[camera]; }
    wxStaticText* DateTimeText() { return m_dateText; }
    wxButton* Clock() { return m_clock; }
    wxBitmapTextButton* LiveButton() { return m_liveButton; }
    wxBitmapTextButton* ArchiveButton() { return m_archiveButton; }
    wxBitmapTextButton* SetTimeButton() { return m_setTime; }
    wxBitmapTextButton* ForwardButton() { return m_forward; }
    wxBitmapTextButton* BackButton() { return m_back; }
    CSplashWnd* Splash() { return m_splash; }
    int Reconnections() const { return m_reconnections; }
    // Ends the modal loop without the question (demo screenshots, tests).
    void EndWithoutQuestion();

private:
    wxBitmap Icon(const char* file);
    void BuildControls();
    void PopupAt(wxWindow* button, wxMenu& menu);
    void AddMenuItem(wxMenu& menu, int id, const char* label, const char* icon, bool enabled);
    void OnSetTime();
    void OnCloseWindow(wxCloseEvent& e);
    void OnTimer(wxTimerEvent& e);
    void OnMenu(wxCommandEvent& e);
    void ShutDown();

    AppState& m_state;
    CSplashWnd* m_splash = nullptr;
    platform::SharedByte m_exchange;
    wxTimer m_connectTimer, m_clockTimer;
    wxBitmapTextButton *m_viewArchive = nullptr, *m_copyArchive = nullptr, *m_export = nullptr, *m_service = nullptr;
    wxBitmapTextButton *m_liveButton = nullptr, *m_archiveButton = nullptr, *m_setTime = nullptr;
    wxButton* m_clock = nullptr;
    wxBitmapTextButton *m_forward = nullptr, *m_back = nullptr;
    wxComboBox* m_sampling = nullptr;
    wxStaticText* m_dateText = nullptr;
    CCameraView* m_views[4] = {};
    wxBitmap m_on, m_off;
    bool m_live = true;
    Instant m_view;
    int32_t m_period = 1000;
    SampleBuffer m_buffer;
    int m_reconnections = 0;
    bool m_shutDown = false;
};
