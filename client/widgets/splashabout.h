// The splash line of start-up, the about dialog and its logo panel.
#pragma once

#include <wx/bitmap.h>
#include <wx/dialog.h>
#include <wx/stattext.h>

class CSplashWnd : public wxDialog {
public:
    explicit CSplashWnd(wxWindow* parent);
    void SetText(const wxString& text);
    wxString Text() const { return m_text->GetLabel(); }

private:
    wxStaticText* m_text;
};

// The logo picture; a missing file leaves the panel empty.
class CZorbLogo : public wxWindow {
public:
    CZorbLogo(wxWindow* parent, const wxString& programFolder);
    const wxBitmap& Bitmap() const { return m_bitmap; }

private:
    void OnPaint(wxPaintEvent&);
    wxBitmap m_bitmap;
};

class CAboutDialog : public wxDialog {
public:
    enum { ID_CLOSE = 1001 };
    explicit CAboutDialog(const wxString& programFolder);
    CZorbLogo* Logo() { return m_logo; }

private:
    CZorbLogo* m_logo;
};
