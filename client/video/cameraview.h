// CCameraView: one tile of the main window's camera grid. It draws into an
// off-screen bitmap and copies that bitmap to the screen when painted.
#pragma once

#include <string>
#include <vector>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/window.h>

#include "catalogue.h"
#include "sample.h"

// What one drawing of a tile shows.
struct CameraFrame {
    const SampleBuffer* sample = nullptr;  // none: no parameter lines
    const uint8_t* picture = nullptr;      // RGB, width x height x 3
    int width = 0, height = 0;
    int camera = 0;                        // 0..3
    std::vector<std::string> references;   // the main-view parameters of the camera
    const ParamCatalogue* catalogue = nullptr;
};

// Where the k-th parameter line of a w x h tile goes.
wxPoint ParameterLinePosition(int k, int w, int h);
// The text of the k-th line, or empty when its parameter is not found.
std::string ParameterLineText(const CameraFrame& frame, int k);
// Draws the tile into dc (w x h from its top-left corner); scratch holds
// the scaled picture between drawings.
void DrawCameraView(wxDC& dc, int w, int h, const CameraFrame& frame, wxBitmap& scratch);

class CCameraView : public wxWindow {
public:
    static constexpr int kBitmapWidth = 1920, kBitmapHeight = 1080;

    CCameraView(wxWindow* parent, const wxPoint& pos, const wxSize& size, int camera);
    ~CCameraView() override;

    // Redraws the off-screen bitmap and invalidates the window.
    void ShowSample(const SampleBuffer* sample, const uint8_t* picture, int width, int height,
                    const std::vector<std::string>& references, const ParamCatalogue* catalogue);
    const wxBitmap& Offscreen() const { return m_bitmap; }
    int Camera() const { return m_camera; }

private:
    void OnPaint(wxPaintEvent&);

    wxBitmap m_bitmap;
    wxBitmap m_scratch;
    wxMemoryDC m_dc;
    int m_camera;
};
