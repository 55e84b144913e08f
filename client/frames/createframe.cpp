#include "createframe.h"

#include <algorithm>

#include <wx/icon.h>
#include <wx/msgdlg.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

CCreateFrame::CCreateFrame(wxWindow* parent, const std::string& frameName, FrameTable& table,
                           std::shared_ptr<const ParamCatalogue> catalogue, std::atomic<int>& openDialogs,
                           const std::string& programFolder)
    : wxDialog(parent, wxID_ANY, "Create frame", wxDefaultPosition, wxSize(490, 490),
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_frames(table),
      m_catalogue(catalogue ? std::move(catalogue) : std::make_shared<ParamCatalogue>()),
      m_openDialogs(openDialogs),
      m_folder(programFolder) {
    ++m_openDialogs;
    wxIcon icon;
    const wxString iconPath = wxString::FromUTF8(programFolder) + "Res/Wnd_Modify.ico";
    if (wxFileExists(iconPath) && icon.LoadFile(iconPath, wxBITMAP_TYPE_ICO)) SetIcon(icon);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, "Frame name:"), 0, wxLEFT | wxTOP, 8);
    m_name = new wxComboBox(this, ID_NAME, wxEmptyString, wxDefaultPosition, wxSize(370, 20));
    top->Add(m_name, 0, wxALL, 5);
    wxString kinds[] = {"Trend" + wxString(' ', 31), "Table"};
    m_view = new wxRadioBox(this, ID_VIEW, "Data view", wxDefaultPosition, wxDefaultSize, 2, kinds, 2, wxRA_SPECIFY_COLS);
    top->Add(m_view, 0, wxALL, 5);

    auto* data = new wxStaticBoxSizer(wxHORIZONTAL, this, "Frame data");
    m_bandsGroup = new wxStaticBoxSizer(wxVERTICAL, data->GetStaticBox(), "Bands");
    m_bandList = new wxListBox(m_bandsGroup->GetStaticBox(), ID_BANDS, wxDefaultPosition, wxSize(75, 200));
    m_bandsGroup->Add(m_bandList, 0, wxALL, 3);
    auto* bandButtons = new wxBoxSizer(wxHORIZONTAL);
    bandButtons->Add(new wxButton(m_bandsGroup->GetStaticBox(), ID_ADD_BAND, "Add", wxDefaultPosition, wxSize(32, 23)));
    bandButtons->Add(new wxButton(m_bandsGroup->GetStaticBox(), ID_REMOVE_BAND, "Remove", wxDefaultPosition, wxSize(46, 23)));
    m_bandsGroup->Add(bandButtons, 0, wxALL, 3);
    data->Add(m_bandsGroup, 0, wxALL, 3);
    auto* params = new wxStaticBoxSizer(wxVERTICAL, data->GetStaticBox(), "Parameters");
    m_paramList = new wxListBox(params->GetStaticBox(), ID_PARAMS, wxDefaultPosition, wxSize(315, 200));
    params->Add(m_paramList, 0, wxALL, 3);
    auto* paramButtons = new wxBoxSizer(wxHORIZONTAL);
    paramButtons->Add(new wxButton(params->GetStaticBox(), ID_ADD_PARAM, "Add"));
    paramButtons->Add(new wxButton(params->GetStaticBox(), ID_REMOVE_PARAM, "Remove"));
    paramButtons->Add(new wxButton(params->GetStaticBox(), ID_REMOVE_ALL, "Remove all"));
    params->Add(paramButtons, 0, wxALL, 3);
    data->Add(params, 1, wxALL, 3);
    top->Add(data, 1, wxEXPAND | wxALL, 5);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, ID_SAVE, "Save frame"), 0, wxALL, 3);
    buttons->Add(new wxButton(this, ID_REMOVE_FRAME, "Remove frame"), 0, wxALL, 3);
    buttons->Add(new wxButton(this, ID_CLOSE, "Close"), 0, wxALL, 3);
    top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 5);
    SetSizer(top);

    Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { LoadFrame(); }, ID_NAME);
    Bind(wxEVT_RADIOBOX, [this](wxCommandEvent&) { SelectKind(m_view->GetSelection()); }, ID_VIEW);
    Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) { ShowBand(); }, ID_BANDS);
    Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { RemoveBand(); }, ID_BANDS);
    Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent& e) { RemoveParameter(e.GetSelection()); }, ID_PARAMS);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { AddBand(); }, ID_ADD_BAND);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RemoveBand(); }, ID_REMOVE_BAND);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OpenParameterDialog(); }, ID_ADD_PARAM);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RemoveParameter(m_paramList->GetSelection()); }, ID_REMOVE_PARAM);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RemoveAll(); }, ID_REMOVE_ALL);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { SaveFrame(false); }, ID_SAVE);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RemoveFrame(); }, ID_REMOVE_FRAME);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { CloseFrame(); }, ID_CLOSE);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { CloseFrame(); });

    const int found = m_frames.Find(frameName);
    if (found >= 0) {
        const int kind = m_frames.records[static_cast<size_t>(found)].kind;
        m_view->SetSelection(kind);
        if (kind == FRAME_TABLE) m_view->Enable(0, false);
        m_bandsGroup->Show(kind == FRAME_TREND);
        RefillNames(frameName);
    } else {
        m_view->SetSelection(FRAME_TREND);
        RefillNames(std::string());
    }
    m_changed = false;
}

CCreateFrame::~CCreateFrame() {
    if (m_counted) --m_openDialogs;
}

std::string CCreateFrame::Label(const std::string& ref) const { return FormatParameterLabel(*m_catalogue, ref); }

void CCreateFrame::Error(const char* text) { wxMessageBox(text, "Error create frame", wxOK, this); }

void CCreateFrame::RefillNames(const std::string& name) {
    m_name->Clear();
    int select = 0, n = 0;
    for (const FrameRecord& r : m_frames.records) {
        if (r.kind != Kind()) continue;
        m_name->Append(wxString::FromUTF8(r.name));
        if (r.name == name) select = n;
        ++n;
    }
    if (n > 0) m_name->SetSelection(select);
    else m_name->SetValue(wxEmptyString);
    LoadFrame();
}

void CCreateFrame::LoadFrame() {
    m_paramList->Clear();
    const std::string name = m_name->GetValue().utf8_string();
    if (name.empty()) {
        m_table.clear();
        for (auto& b : m_bands) b.clear();
        m_bandList->Clear();
        m_currentBand = -1;
        return;
    }
    const int index = m_frames.Find(name);
    if (index < 0) return;
    const FrameRecord& r = m_frames.records[static_cast<size_t>(index)];
    if (Kind() == FRAME_TABLE) {
        m_table.clear();
        for (const std::string& ref : r.tableParams) {
            m_paramList->Append(wxString::FromUTF8(Label(ref)));
            m_table.push_back(ref);
        }
    } else {
        m_bandList->Clear();
        for (auto& b : m_bands) b.clear();
        m_currentBand = -1;
        for (int j = 0; j < r.bandCount && j < kMaxBands; ++j) {
            m_bandList->Append(wxString::Format("Band %d", j + 1));
            m_bands[j] = r.bands[j].params;
        }
        if (m_bandList->GetCount() > 0) {
            m_bandList->SetSelection(static_cast<int>(m_bandList->GetCount()) - 1);
            ShowBand();
        }
    }
}

void CCreateFrame::ShowBand() {
    const int sel = m_bandList->GetSelection();
    if (sel == wxNOT_FOUND) return;
    m_currentBand = sel;
    m_paramList->Clear();
    for (const std::string& ref : m_bands[sel]) m_paramList->Append(wxString::FromUTF8(Label(ref)));
}

void CCreateFrame::SelectKind(int kind) {
    m_view->SetSelection(kind);
    m_bandsGroup->Show(kind == FRAME_TREND);
    Layout();
    RefillNames(std::string());
}

void CCreateFrame::AddBand() {
    const int count = static_cast<int>(m_bandList->GetCount());
    if (count >= kMaxBands) {
        Error("Number of band's must be less then 15");
        return;
    }
    m_bandList->Append(wxString::Format("Band %d", count + 1));
    m_bands[count].clear();
    m_bandList->SetSelection(count);
    ShowBand();
    m_changed = true;
}

void CCreateFrame::RemoveBand() {
    const int sel = m_bandList->GetSelection();
    if (m_bandList->GetCount() == 0 || sel == wxNOT_FOUND) return;
    if (wxMessageBox(wxString::Format("Remove band #%d ?", sel + 1), "Create frame", wxYES_NO | wxICON_WARNING, this) !=
        wxYES)
        return;
    const int count = static_cast<int>(m_bandList->GetCount());
    m_bandList->Delete(static_cast<unsigned>(sel));
    for (int b = sel; b + 1 < count; ++b) m_bands[b] = m_bands[b + 1];
    m_bands[count - 1].clear();
    for (int b = sel; b < count - 1; ++b) m_bandList->SetString(static_cast<unsigned>(b), wxString::Format("Band %d", b + 1));
    m_currentBand = -1;
    m_paramList->Clear();
    if (m_bandList->GetCount() > 0) {
        m_bandList->SetSelection(static_cast<int>(m_bandList->GetCount()) - 1);
        ShowBand();
    }
    m_changed = true;
}

bool CCreateFrame::Contains(const std::string& reference) {
    if (Kind() == FRAME_TABLE) return std::find(m_table.begin(), m_table.end(), reference) != m_table.end();
    for (const auto& b : m_bands)
        if (std::find(b.begin(), b.end(), reference) != b.end()) return true;
    return false;
}

int CCreateFrame::AddParameter(const std::string&, const std::string& reference) {
    const int sel = m_paramList->GetSelection();
    const size_t at = sel == wxNOT_FOUND ? m_paramList->GetCount() : static_cast<size_t>(sel) + 1;
    if (Kind() == FRAME_TABLE) {
        if (Contains(reference)) return 1;
        m_table.insert(m_table.begin() + static_cast<long>(std::min(at, m_table.size())), reference);
    } else {
        if (m_bandList->GetSelection() == wxNOT_FOUND || m_currentBand < 0) return 4;
        std::vector<std::string>& band = m_bands[m_currentBand];
        std::vector<std::string> with = band;
        with.push_back(reference);
        int code = 0;
        if (CountScales(*m_catalogue, with) > 4) code = 3;
        if (band.size() >= 10) code = 2;
        if (Contains(reference)) code = 1;
        if (code) return code;
        band.insert(band.begin() + static_cast<long>(std::min(at, band.size())), reference);
    }
    m_paramList->Insert(wxString::FromUTF8(Label(reference)), static_cast<unsigned>(at));
    m_changed = true;
    return 0;
}

void CCreateFrame::OpenParameterDialog() {
    const std::vector<std::string>* list = &m_table;
    int band = 0;
    if (Kind() == FRAME_TREND) {
        if (m_bandList->GetSelection() == wxNOT_FOUND || m_currentBand < 0) {
            wxMessageBox("Select band, please", "Attention!", wxOK, this);
            return;
        }
        band = m_currentBand;
        list = &m_bands[band];
    }
    const int camera = list->empty() ? 0 : std::max(0, ParameterNumber(list->back().c_str()));
    CSelectParameters dlg(Kind() == FRAME_TABLE ? 1 : 0, m_name->GetValue().utf8_string(), band, this, camera, this,
                          false, m_catalogue, m_openDialogs, wxString::FromUTF8(m_folder));
    dlg.ShowModal();
    if (m_paramList->GetCount() > 0) m_paramList->EnsureVisible(static_cast<int>(m_paramList->GetCount()) - 1);
}

void CCreateFrame::RemoveParameter(int entry) {
    if (entry == wxNOT_FOUND || entry < 0 || entry >= static_cast<int>(m_paramList->GetCount())) return;
    if (Kind() == FRAME_TABLE) {
        if (entry < static_cast<int>(m_table.size())) m_table.erase(m_table.begin() + entry);
    } else {
        if (m_currentBand < 0) return;
        auto& band = m_bands[m_currentBand];
        if (entry < static_cast<int>(band.size())) band.erase(band.begin() + entry);
    }
    m_paramList->Delete(static_cast<unsigned>(entry));
    m_changed = true;
}

void CCreateFrame::RemoveAll() {
    if (m_paramList->GetCount() == 0) return;
    if (wxMessageBox("Are you ure to remove all parameters?", "Create frame", wxYES_NO, this) != wxYES) return;
    m_paramList->Clear();
    if (Kind() == FRAME_TABLE) m_table.clear();
    else if (m_currentBand >= 0) m_bands[m_currentBand].clear();
    m_changed = true;
}

bool CCreateFrame::SaveFrame(bool autoSave) {
    const std::string name = m_name->GetValue().utf8_string();
    if (name.empty()) {
        Error("Enter frame name");
        return false;
    }
    if (m_frames.Count() >= kMaxFrames) {
        Error("Frames count is too money");
        return false;
    }
    const int existing = m_frames.Find(name);
    if (existing >= 0 && !autoSave &&
        wxMessageBox("Frame already exist. Replace?", "Create frame", wxYES_NO, this) != wxYES)
        return false;
    FrameRecord r = existing >= 0 ? m_frames.records[static_cast<size_t>(existing)] : FrameRecord();
    if (Kind() == FRAME_TABLE) {
        if (m_paramList->GetCount() == 0) {
            Error("No parameters");
            return false;
        }
        r.kind = FRAME_TABLE;
        r.tableParams = m_table;
    } else {
        const int bands = static_cast<int>(m_bandList->GetCount());
        if (bands == 0) {
            Error("Band's not exist");
            return false;
        }
        for (int b = 0; b < bands; ++b) {
            if (CountScales(*m_catalogue, m_bands[b]) > 4) {
                Error("Scales count is more then 4");
                return false;
            }
            if (m_bands[b].empty()) {
                Error("No parameters in band");
                return false;
            }
            if (m_bands[b].size() > 20) {
                Error("Parameters count is more then 20");
                return false;
            }
        }
        r.kind = FRAME_TREND;
        r.bandCount = bands;
        for (int b = 0; b < kMaxBands; ++b) r.bands[b].params = b < bands ? m_bands[b] : std::vector<std::string>();
    }
    r.name = name;
    if (existing >= 0) {
        m_frames.records[static_cast<size_t>(existing)] = r;
    } else {
        r.timeRange = FRAME_CURRENT;
        r.source = FRAME_SOURCE_NEW;
        m_frames.records.push_back(r);
        m_name->Append(wxString::FromUTF8(name));
    }
    SaveFrames(m_folder, m_frames);
    m_changed = false;
    return true;
}

void CCreateFrame::RemoveFrame() {
    const std::string name = m_name->GetValue().utf8_string();
    if (name.empty()) {
        Error("No frames selected");
        return;
    }
    if (wxMessageBox("Are you sure to remove selected frame?", "Create frame", wxYES_NO, this) != wxYES) return;
    const int index = m_frames.Find(name);
    if (index >= 0) m_frames.records.erase(m_frames.records.begin() + index);
    const int entry = m_name->FindString(wxString::FromUTF8(name), true);
    if (entry != wxNOT_FOUND) m_name->Delete(static_cast<unsigned>(entry));
    if (m_name->GetCount() > 0) m_name->SetSelection(0);
    else m_name->SetValue(wxEmptyString);
    LoadFrame();
    if (index >= 0) SaveFrames(m_folder, m_frames);
}

bool CCreateFrame::CloseFrame() {
    if (m_changed && wxMessageBox("Frame has been changed. Do you want to save changes?", "Create frame", wxYES_NO,
                                  this) == wxYES) {
        SaveFrame(true);
        if (m_changed) return false;
    }
    if (m_counted) {
        --m_openDialogs;
        m_counted = false;
    }
    if (IsModal()) EndModal(4);
    else Hide();
    return true;
}
