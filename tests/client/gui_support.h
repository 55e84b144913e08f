// GUI test support: a wxApp for the test process, pixels of drawn bitmaps,
// and message boxes answered without a screen.
#pragma once

#include <gtest/gtest.h>

#include <wx/bitmap.h>
#include <wx/dialog.h>
#include <wx/image.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>

#include <string>
#include <vector>

namespace guitest {

bool HaveDisplay();

#define REQUIRE_DISPLAY() \
    if (!guitest::HaveDisplay()) GTEST_SKIP() << "no display"

// Answers every modal dialog at once: message boxes with `answer`, other
// dialogs with their ShowModal result; records message texts and captions.
class AnswerDialogs : public wxModalDialogHook {
public:
    explicit AnswerDialogs(int answer = wxID_OK) : m_answer(answer) { Register(); }
    ~AnswerDialogs() override { Unregister(); }
    int Enter(wxDialog* dialog) override {
        if (auto* m = dynamic_cast<wxMessageDialog*>(dialog)) {
            messages.push_back(m->GetMessage().utf8_string());
            captions.push_back(m->GetTitle().utf8_string());
            return m_answer;
        }
        others.push_back(dialog);
        return m_otherResult;
    }
    void Exit(wxDialog*) override {}
    void SetOtherResult(int r) { m_otherResult = r; }

    std::vector<std::string> messages, captions;
    std::vector<wxDialog*> others;

private:
    int m_answer;
    int m_otherResult = 4;
};

inline wxColour Pixel(const wxImage& img, int x, int y) {
    return wxColour(img.GetRed(x, y), img.GetGreen(x, y), img.GetBlue(x, y));
}

// True when some pixel of the rectangle differs from colour (text drawn there).
bool AnyPixelDiffers(const wxImage& img, const wxRect& r, const wxColour& colour);

} // namespace guitest
