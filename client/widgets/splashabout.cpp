#include "splashabout.h"

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/icon.h>
#include <wx/sizer.h>

CSplashWnd::CSplashWnd(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(350, 35),
               wxSTAY_ON_TOP | wxBORDER_DOUBLE, "111") {
    auto* s = new wxBoxSizer(wxHORIZONTAL);
    m_text = new wxStaticText(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(333, 20),
                              wxBORDER_SUNKEN | wxST_NO_AUTORESIZE);
    s->Add(m_text, 0, wxALIGN_CENTER_VERTICAL | wxLEFT | wxTOP | wxBOTTOM, 5);
    SetSizer(s);
    Centre();
}

void CSplashWnd::SetText(const wxString& text) {
    m_text->SetLabel(text);
    if (IsShown()) Update();
}

CZorbLogo::CZorbLogo(wxWindow* parent, const wxString& programFolder)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(320, 240), wxBORDER_SUNKEN, "dialogBox") {
    wxImage img;
    const wxString path = programFolder + "Res/Logo.bmp";
    if (wxFileExists(path) && img.LoadFile(path, wxBITMAP_TYPE_BMP)) m_bitmap = wxBitmap(img);
    Bind(wxEVT_PAINT, &CZorbLogo::OnPaint, this);
}

void CZorbLogo::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (m_bitmap.IsOk()) dc.DrawBitmap(m_bitmap, 0, 0, false);
}

CAboutDialog::CAboutDialog(const wxString& programFolder)
    : wxDialog(nullptr, wxID_ANY, "About program", wxDefaultPosition, wxSize(600, 295),
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX, "About DVR Client program") {
    wxIcon icon;
    if (wxFileExists(programFolder + "Res/MainMenu_Help.ico") &&
        icon.LoadFile(programFolder + "Res/MainMenu_Help.ico", wxBITMAP_TYPE_ICO))
        SetIcon(icon);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    m_logo = new CZorbLogo(this, programFolder);
    row->Add(m_logo, 0, wxALL, 10);
    auto* col = new wxBoxSizer(wxVERTICAL);
    col->Add(new wxStaticText(this, wxID_ANY, "Digital video recording client", wxDefaultPosition, wxSize(400, 50)));
    col->Add(new wxStaticText(this, wxID_ANY, "Version:  2.1"));
    col->Add(new wxStaticText(this, wxID_ANY, "Last update:  11.06.2012"));
    col->Add(new wxButton(this, ID_CLOSE, "Close"), 0, wxTOP, 10);
    row->Add(col, 1, wxALL, 10);
    SetSizer(row);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { if (IsModal()) EndModal(0); }, ID_CLOSE);
}
