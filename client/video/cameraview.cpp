#include "cameraview.h"

#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/rawbmp.h>

#include <cstring>

namespace {
const wxColour kFill(221, 221, 221);

// The picture scaled (nearest pixel) straight into the pixels of the
// scratch bitmap, which is reused while the size stays: no intermediate
// image, no allocation per refresh.
const wxBitmap& ScaledPicture(const uint8_t* rgb, int sw, int sh, int pw, int ph, wxBitmap& bmp) {
    if (!bmp.IsOk() || bmp.GetWidth() != pw || bmp.GetHeight() != ph) bmp = wxBitmap(pw, ph, 24);
    std::vector<int> columns(static_cast<size_t>(pw));
    for (int x = 0; x < pw; ++x) columns[static_cast<size_t>(x)] = static_cast<int>(static_cast<int64_t>(x) * sw / pw) * 3;
    wxNativePixelData data(bmp);
    if (!data) return bmp;
    wxNativePixelData::Iterator row(data);
    for (int y = 0; y < ph; ++y) {
        const uint8_t* src = rgb + static_cast<size_t>(static_cast<int64_t>(y) * sh / ph) * sw * 3;
        wxNativePixelData::Iterator p = row;
        for (int x = 0; x < pw; ++x, ++p) {
            const uint8_t* s = src + columns[static_cast<size_t>(x)];
            p.Red() = s[0];
            p.Green() = s[1];
            p.Blue() = s[2];
        }
        row.OffsetY(data, 1);
    }
    return bmp;
}
} // namespace

wxPoint ParameterLinePosition(int k, int w, int h) {
    switch (k) {
    case 0: return wxPoint(20, h - 50);
    case 1: return wxPoint(20, h - 35);
    case 2: return wxPoint(w / 2 + 50, h - 50);
    default: return wxPoint(w / 2 + 50, h - 35);
    }
}

std::string ParameterLineText(const CameraFrame& f, int k) {
    if (!f.sample || !f.catalogue || k < 0 || k >= static_cast<int>(f.references.size())) return std::string();
    const std::string& ref = f.references[static_cast<size_t>(k)];
    const ParamRecord* r = FindCatalogueEntry(*f.catalogue, ref.c_str());
    if (!r) return std::string();
    // The ProgID is the reference after its first blank.
    const size_t blank = ref.find(' ');
    const std::string progId = blank == std::string::npos ? ref : ref.substr(blank + 1);
    const SampleSection& third = f.sample->section[2];
    std::string value;
    if (third.data) {
        std::string format;
        DecodedValue v = ValueByName(third, progId.c_str(), &format);
        value = FormatValue(v, format.c_str());
    } else {
        value.assign(third.text, strnlen(third.text, sizeof third.text));
    }
    return std::string(r->label) + " = " + value;
}

void DrawCameraView(wxDC& dc, int w, int h, const CameraFrame& f, wxBitmap& scratch) {
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(kFill));
    dc.DrawRectangle(0, 0, w, h);
    dc.SetPen(wxPen(wxColour(0, 128, 0)));
    dc.SetBrush(wxBrush(kFill));
    dc.DrawRectangle(10, 10, w - 20, h - 80);
    dc.SetTextForeground(*wxBLACK);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    const uint16_t status = f.sample ? StatusWord(*f.sample) : 0xFFFF;
    if (f.picture && f.width > 0 && f.height > 0) {
        const int ph = h - 84;
        const int pw = static_cast<int>(static_cast<double>(f.width) / f.height * ph);
        if (pw > 0 && ph > 0) dc.DrawBitmap(ScaledPicture(f.picture, f.width, f.height, pw, ph, scratch), ((w - 20) - pw - 4) / 2 + 12, 12);
        if (f.sample && status == 0) {
            dc.DrawRectangle(w / 2 - 60, (h - 80) / 2 - 5, 145, 25);
            dc.DrawText("Image has expired", w / 2 - 50, (h - 80) / 2);
        }
    } else {
        dc.DrawText("No image", w / 2 - 20, (h - 80) / 2);
    }
    dc.DrawText(wxString::Format("Camera %d", f.camera + 1), w / 2 - 20, h - 20);
    if (f.sample && status == 0xFFFF) {
        dc.SetTextForeground(wxColour(34, 68, 34));
        for (int k = 0; k < static_cast<int>(f.references.size()) && k < 4; ++k) {
            const std::string line = ParameterLineText(f, k);
            if (!line.empty()) dc.DrawText(wxString::FromUTF8(line), ParameterLinePosition(k, w, h));
        }
    }
}

CCameraView::CCameraView(wxWindow* parent, const wxPoint& pos, const wxSize& size, int camera)
    : wxWindow(parent, wxID_ANY, pos, size, wxBORDER_RAISED | wxCLIP_CHILDREN, "dialogBox"),
      m_bitmap(kBitmapWidth, kBitmapHeight, 24),
      m_camera(camera) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_dc.SelectObject(m_bitmap);
    Bind(wxEVT_PAINT, &CCameraView::OnPaint, this);
    ShowSample(nullptr, nullptr, 0, 0, {}, nullptr);
}

CCameraView::~CCameraView() { m_dc.SelectObject(wxNullBitmap); }

void CCameraView::ShowSample(const SampleBuffer* sample, const uint8_t* picture, int width, int height,
                             const std::vector<std::string>& references, const ParamCatalogue* catalogue) {
    wxSize s = GetClientSize();
    const int w = std::min(s.x, kBitmapWidth), h = std::min(s.y, kBitmapHeight);
    CameraFrame f;
    f.sample = sample;
    f.picture = picture;
    f.width = width;
    f.height = height;
    f.camera = m_camera;
    f.references = references;
    f.catalogue = catalogue;
    if (w > 0 && h > 0) DrawCameraView(m_dc, w, h, f, m_scratch);
    Refresh(false);
}

void CCameraView::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    const wxSize s = GetClientSize();
    dc.Blit(0, 0, std::min(s.x, kBitmapWidth), std::min(s.y, kBitmapHeight), &m_dc, 0, 0);
}
