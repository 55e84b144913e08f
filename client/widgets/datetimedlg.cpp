#include "datetimedlg.h"

#include <wx/button.h>
#include <wx/icon.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "platform/platform.h"

wxString FormatDateTime(const wxDateTime& t) {
    if (!t.IsValid()) return wxString();
    return wxString::Format("%.2d.%.2d.%.4d %.2d:%.2d:%.2d", t.GetDay(), t.GetMonth() + 1, t.GetYear(), t.GetHour(),
                            t.GetMinute(), t.GetSecond());
}

CSelectDateTime::CSelectDateTime(wxWindow* parent, const wxString& title, uint16_t day, int32_t time,
                                 DataSession& session, std::atomic<int>& openDialogs, const wxString& iconFolder)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxSize(350, 220), wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_session(session),
      m_openDialogs(openDialogs) {
    ++m_openDialogs;
    wxIcon icon;
    if (icon.LoadFile(iconFolder + "Res/Wnd_Time.ico", wxBITMAP_TYPE_ICO)) SetIcon(icon);
    Instant at;
    at.day = day;
    at.time = time;
    if (day == 0 && time == 0) {
        at = InstantFromLocalTime(ToSystemTime(platform::LocalNow()));
    }
    const DateParts p = Decompose(at);

    wxFont big(14, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL);
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* dateRow = new wxBoxSizer(wxHORIZONTAL);
    dateRow->Add(new wxStaticText(this, wxID_ANY, "Date:      "), 0, wxALIGN_CENTER_VERTICAL);
    wxDateTime start(static_cast<wxDateTime::wxDateTime_t>(p.day), static_cast<wxDateTime::Month>(p.month - 1), static_cast<int>(p.year));
    m_date = new wxDatePickerCtrl(this, wxID_ANY, start, wxDefaultPosition, wxSize(130, 30), wxDP_DROPDOWN,
                                  wxDefaultValidator, "datectrl");
    m_date->SetFont(big);
    dateRow->Add(m_date, 0);
    top->Add(dateRow, 0, wxALL, 10);

    auto* timeRow = new wxBoxSizer(wxHORIZONTAL);
    timeRow->Add(new wxStaticText(this, wxID_ANY, "Time:      "), 0, wxALIGN_CENTER_VERTICAL);
    auto spin = [&](int value, int max) {
        auto* s = new wxSpinCtrl(this, wxID_ANY, wxString::Format("%d", value), wxDefaultPosition, wxSize(50, 30),
                                 wxSP_ARROW_KEYS | wxSP_WRAP, 0, max, value);
        s->SetFont(big);
        return s;
    };
    m_hour = spin(p.hour, 23);
    m_minute = spin(p.minute, 59);
    m_second = spin(p.second, 59);
    timeRow->Add(m_hour, 0);
    timeRow->Add(new wxStaticText(this, wxID_ANY, ": "), 0, wxALIGN_CENTER_VERTICAL);
    timeRow->Add(m_minute, 0);
    timeRow->Add(new wxStaticText(this, wxID_ANY, ": "), 0, wxALIGN_CENTER_VERTICAL);
    timeRow->Add(m_second, 0);
    top->Add(timeRow, 0, wxLEFT | wxRIGHT | wxBOTTOM, 10);

    m_gmt = new wxCheckBox(this, ID_GMT, "Use GMT time");
    m_gmt->SetValue(m_session.Gmt());
    top->Add(m_gmt, 0, wxLEFT | wxRIGHT | wxBOTTOM, 10);
    top->Add(new wxButton(this, ID_OK, "OK"), 0, wxALIGN_CENTER | wxBOTTOM, 10);
    SetSizer(top);

    Bind(wxEVT_BUTTON, &CSelectDateTime::OnOk, this, ID_OK);
    Bind(wxEVT_CLOSE_WINDOW, &CSelectDateTime::OnClose, this);
}

CSelectDateTime::~CSelectDateTime() {
    if (m_counted) --m_openDialogs;
}

wxString CSelectDateTime::DateTimeText() const { return FormatDateTime(m_chosen); }

void CSelectDateTime::OnOk(wxCommandEvent&) {
    wxDateTime d = m_date->GetValue();
    m_chosen = wxDateTime(d.GetDay(), d.GetMonth(), d.GetYear(), static_cast<wxDateTime::wxDateTime_t>(m_hour->GetValue()),
                          static_cast<wxDateTime::wxDateTime_t>(m_minute->GetValue()),
                          static_cast<wxDateTime::wxDateTime_t>(m_second->GetValue()), 0);
    m_session.SetGmt(m_gmt->GetValue());
    if (m_counted) {
        --m_openDialogs;
        m_counted = false;
    }
    if (IsModal()) EndModal(4);
}

void CSelectDateTime::OnClose(wxCloseEvent&) {
    if (m_counted) {
        --m_openDialogs;
        m_counted = false;
    }
    if (IsModal()) EndModal(16);
    else Hide();
}
