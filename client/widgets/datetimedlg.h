// CSelectDateTime: picks an instant to the second, and switches the reads
// of the whole process between local time and GMT.
#pragma once

#include <atomic>

#include <wx/checkbox.h>
#include <wx/datectrl.h>
#include <wx/datetime.h>
#include <wx/dialog.h>
#include <wx/spinctrl.h>

#include "instant.h"
#include "session.h"

class CSelectDateTime : public wxDialog {
public:
    enum { ID_OK = 1001, ID_GMT = 10001 };

    // Day 0 with time 0 starts at the current local time.
    CSelectDateTime(wxWindow* parent, const wxString& title, uint16_t day, int32_t time, DataSession& session,
                    std::atomic<int>& openDialogs, const wxString& iconFolder);
    ~CSelectDateTime() override;

    // Valid after OK; its ms part is 0.
    const wxDateTime& Chosen() const { return m_chosen; }
    wxString DateTimeText() const;

    wxDatePickerCtrl* Picker() { return m_date; }
    wxSpinCtrl* Hour() { return m_hour; }
    wxSpinCtrl* Minute() { return m_minute; }
    wxSpinCtrl* Second() { return m_second; }
    wxCheckBox* Gmt() { return m_gmt; }

    void OnOk(wxCommandEvent&);
    void OnClose(wxCloseEvent&);

private:
    wxDatePickerCtrl* m_date;
    wxSpinCtrl *m_hour, *m_minute, *m_second;
    wxCheckBox* m_gmt;
    wxDateTime m_chosen;
    DataSession& m_session;
    std::atomic<int>& m_openDialogs;
    bool m_counted = true;
};

// The text of a chosen instant, "dd.mm.yyyy hh:mm:ss".
wxString FormatDateTime(const wxDateTime& t);
