// wxBitmapTextButton: an icon followed by a text on a light lavender face
// with a 3-D edge, drawn by the program.
#pragma once

#include <wx/bitmap.h>
#include <wx/brush.h>
#include <wx/control.h>
#include <wx/font.h>
#include <wx/image.h>

enum : long {
    kBtnAutoDraw = 0x04,
    kBtnLeft = 0x40,
    kBtnTop = 0x80,
    kBtnRight = 0x100,
    kBtnBottom = 0x200,
};

// What a button looks like; the drawing needs nothing else.
struct ButtonLook {
    wxBitmap icon;
    wxBitmap disabledIcon;
    wxString name;
    long style = kBtnAutoDraw | kBtnLeft;
    wxColour background{224, 224, 255};
    wxFont font;
};

ButtonLook MakeButtonLook(const wxBitmap& icon, const wxString& name, long style);
// Where the icon and the text go on a face of the given size.
wxPoint ButtonIconPosition(const ButtonLook& look, const wxSize& size, bool pressed);
wxPoint ButtonTextPosition(const ButtonLook& look, const wxSize& size, bool pressed);
// The face as a picture: background, edge, icon, text, and the disabled
// pattern (a 2 x 2 checker of black and the background, ORed over the face
// inside the 4-pixel margins).
wxImage RenderButton(const ButtonLook& look, const wxSize& size, bool pressed, bool enabled);

class wxBitmapTextButton : public wxControl {
public:
    wxBitmapTextButton(wxWindow* parent, wxWindowID id, const wxBitmap& bitmap, const wxPoint& pos,
                       const wxSize& size, long style, const wxValidator& validator = wxDefaultValidator,
                       const wxString& name = wxEmptyString);

    void SetBitmapLabel(const wxBitmap& bitmap);
    bool SetBackgroundColour(const wxColour& colour) override;
    const ButtonLook& Look() const { return m_look; }
    bool Pressed() const { return m_pressed; }

protected:
    wxSize DoGetBestSize() const override;

private:
    void OnPaint(wxPaintEvent&);
    void OnLeftDown(wxMouseEvent&);
    void OnLeftUp(wxMouseEvent&);
    void OnLeave(wxMouseEvent&);
    void OnKey(wxKeyEvent&);
    void Click();

    ButtonLook m_look;
    bool m_pressed = false;
};
