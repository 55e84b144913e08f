#include "bitmaptextbutton.h"

#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/settings.h>

namespace {
constexpr int kMargin = 4;
}

ButtonLook MakeButtonLook(const wxBitmap& icon, const wxString& name, long style) {
    ButtonLook look;
    look.icon = icon;
    look.name = name;
    look.style = style;
    look.font = wxFont(11, wxFONTFAMILY_ROMAN, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL);
    return look;
}

wxPoint ButtonIconPosition(const ButtonLook& look, const wxSize& size, bool pressed) {
    const int iw = look.icon.IsOk() ? look.icon.GetWidth() : 0;
    const int ih = look.icon.IsOk() ? look.icon.GetHeight() : 0;
    int x, y;
    if (look.style & kBtnLeft) x = kMargin;
    else if (look.style & kBtnRight) x = size.x - iw - kMargin;
    else x = (size.x - iw) / 2;
    if (look.style & kBtnTop) y = kMargin;
    else if (look.style & kBtnBottom) y = size.y - ih - kMargin;
    else y = (size.y - ih) / 2;
    if (pressed && (look.style & kBtnAutoDraw)) {
        ++x;
        ++y;
    }
    return wxPoint(x, y);
}

wxPoint ButtonTextPosition(const ButtonLook& look, const wxSize& size, bool pressed) {
    const wxPoint icon = ButtonIconPosition(look, size, false);
    // Without an icon the text stands where a 16-pixel icon would.
    wxPoint p((look.style & kBtnLeft) ? 23 : 3, look.icon.IsOk() ? icon.y : (size.y - 16) / 2);
    if (pressed && (look.style & kBtnAutoDraw)) {
        ++p.x;
        ++p.y;
    }
    return p;
}

wxImage RenderButton(const ButtonLook& look, const wxSize& size, bool pressed, bool enabled) {
    const int w = size.x > 0 ? size.x : 1, h = size.y > 0 ? size.y : 1;
    wxBitmap bmp(w, h, 24);
    {
        wxMemoryDC dc(bmp);
        const bool autodraw = (look.style & kBtnAutoDraw) != 0;
        if (autodraw) {
            dc.SetPen(*wxTRANSPARENT_PEN);
            dc.SetBrush(wxBrush(look.background));
            dc.DrawRectangle(0, 0, w, h);
            wxColour hi = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT);
            wxColour light = wxSystemSettings::GetColour(wxSYS_COLOUR_3DLIGHT);
            wxColour shadow = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
            wxColour dark = wxSystemSettings::GetColour(wxSYS_COLOUR_3DDKSHADOW);
            if (pressed) {
                std::swap(hi, dark);
                std::swap(light, shadow);
            }
            auto edge = [&](int inset, const wxColour& topLeft, const wxColour& bottomRight) {
                dc.SetPen(wxPen(topLeft));
                dc.DrawLine(inset, inset, w - 1 - inset, inset);
                dc.DrawLine(inset, inset, inset, h - 1 - inset);
                dc.SetPen(wxPen(bottomRight));
                dc.DrawLine(inset, h - 1 - inset, w - inset, h - 1 - inset);
                dc.DrawLine(w - 1 - inset, inset, w - 1 - inset, h - inset);
            };
            edge(0, hi, dark);
            edge(1, light, shadow);
        }
        const wxBitmap& icon = (!enabled && look.disabledIcon.IsOk()) ? look.disabledIcon : look.icon;
        // A missing icon file leaves the face with its text only.
        if (icon.IsOk()) dc.DrawBitmap(icon, ButtonIconPosition(look, size, pressed), true);
        dc.SetFont(look.font);
        dc.SetTextForeground(*wxBLACK);
        dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
        dc.DrawText(look.name, ButtonTextPosition(look, size, pressed));
    }
    wxImage img = bmp.ConvertToImage();
    if (!enabled && (look.style & kBtnAutoDraw)) {
        const unsigned char br = look.background.Red(), bg = look.background.Green(), bb = look.background.Blue();
        for (int y = kMargin; y < h - kMargin; ++y) {
            for (int x = kMargin; x < w - kMargin; ++x) {
                if (((x + y) & 1) == 0) continue;  // the black squares leave the face as it is
                img.SetRGB(x, y, img.GetRed(x, y) | br, img.GetGreen(x, y) | bg, img.GetBlue(x, y) | bb);
            }
        }
    }
    return img;
}

wxBitmapTextButton::wxBitmapTextButton(wxWindow* parent, wxWindowID id, const wxBitmap& bitmap, const wxPoint& pos,
                                       const wxSize& size, long style, const wxValidator& validator,
                                       const wxString& name)
    : wxControl(parent, id, pos, size, wxBORDER_NONE | wxWANTS_CHARS, validator, name) {
    m_look = MakeButtonLook(bitmap, name, style);
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetBackgroundColour(wxColour(224, 224, 255));
    if (size != wxDefaultSize) SetInitialSize(size);
    Bind(wxEVT_PAINT, &wxBitmapTextButton::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &wxBitmapTextButton::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &wxBitmapTextButton::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &wxBitmapTextButton::OnLeftUp, this);
    Bind(wxEVT_LEAVE_WINDOW, &wxBitmapTextButton::OnLeave, this);
    Bind(wxEVT_KEY_DOWN, &wxBitmapTextButton::OnKey, this);
}

void wxBitmapTextButton::SetBitmapLabel(const wxBitmap& bitmap) {
    m_look.icon = bitmap;
    Refresh();
}

bool wxBitmapTextButton::SetBackgroundColour(const wxColour& colour) {
    m_look.background = colour;
    Refresh();
    return wxControl::SetBackgroundColour(colour);
}

wxSize wxBitmapTextButton::DoGetBestSize() const {
    if (m_look.icon.IsOk()) return wxSize(m_look.icon.GetWidth() + 2 * kMargin, m_look.icon.GetHeight() + 2 * kMargin);
    return wxSize(80, 26);
}

void wxBitmapTextButton::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    const wxSize size = GetClientSize();
    if (size.x <= 0 || size.y <= 0) return;
    dc.DrawBitmap(wxBitmap(RenderButton(m_look, size, m_pressed, IsEnabled())), 0, 0);
}

void wxBitmapTextButton::OnLeftDown(wxMouseEvent&) {
    if (!IsEnabled()) return;
    m_pressed = true;
    if (IsShownOnScreen() && !HasCapture()) CaptureMouse();
    Refresh();
}

void wxBitmapTextButton::OnLeftUp(wxMouseEvent& e) {
    if (HasCapture()) ReleaseMouse();
    const bool inside = wxRect(GetClientSize()).Contains(e.GetPosition());
    const bool was = m_pressed;
    m_pressed = false;
    Refresh();
    if (was && inside && IsEnabled()) Click();
}

void wxBitmapTextButton::OnLeave(wxMouseEvent&) {
    if (m_pressed && !HasCapture()) {
        m_pressed = false;
        Refresh();
    }
}

void wxBitmapTextButton::OnKey(wxKeyEvent& e) {
    if ((e.GetKeyCode() == WXK_SPACE || e.GetKeyCode() == WXK_RETURN) && IsEnabled()) Click();
    else e.Skip();
}

void wxBitmapTextButton::Click() {
    wxCommandEvent event(wxEVT_BUTTON, GetId());
    event.SetEventObject(this);
    ProcessWindowEvent(event);
}
