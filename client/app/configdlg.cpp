#include "configdlg.h"

#include <wx/button.h>
#include <wx/dirdlg.h>
#include <wx/icon.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/statline.h>
#include <wx/stattext.h>

CConfig::CConfig(wxWindow* parent, AppState& state, std::function<void()> reconnect)
    : wxDialog(parent, wxID_ANY, "Configuration", wxDefaultPosition, wxSize(600, 390),
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_state(state),
      m_reconnect(std::move(reconnect)) {
    ++m_state.openDialogCount;
    const wxString folder = wxString::FromUTF8(m_state.ProgramFolder());
    wxIcon icon;
    if (wxFileExists(folder + "Res/MainMenu_Access.ico") &&
        icon.LoadFile(folder + "Res/MainMenu_Access.ico", wxBITMAP_TYPE_ICO))
        SetIcon(icon);
    chooseFolder = [this](int camera, const wxString& start) {
        wxDirDialog d(this, wxString::Format("Select camera #%d database catalog", camera + 1), start);
        return d.ShowModal() == wxID_OK ? d.GetPath() : wxString();
    };

    auto* top = new wxBoxSizer(wxVERTICAL);
    std::shared_ptr<const ParamCatalogue> cat = m_state.session.Catalogue();
    for (int c = 0; c < 4; ++c) {
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        row->Add(new wxStaticText(this, wxID_ANY, wxString::Format("Camera #%d database path:   ", c + 1)), 0,
                 wxALIGN_CENTER_VERTICAL);
        m_paths[c] = new wxTextCtrl(this, wxID_ANY, wxString::FromUTF8(m_state.config.Path(c)), wxDefaultPosition,
                                    wxSize(360, 20));
        row->Add(m_paths[c], 0, wxALIGN_CENTER_VERTICAL);
        row->Add(new wxButton(this, ID_SELECT + c, "Select", wxDefaultPosition, wxSize(60, 22)), 0, wxLEFT, 5);
        top->Add(row, 0, wxLEFT | wxRIGHT | wxTOP, 5);
        Bind(wxEVT_BUTTON, [this, c](wxCommandEvent&) { OnSelect(c); }, ID_SELECT + c);
        // Keep the references whose parameters are still in the catalogue.
        for (const std::string& ref : m_state.config.References(c))
            if (FindCatalogueEntry(*cat, ref.c_str())) m_refs[c].push_back(ref);
    }
    top->Add(new wxStaticLine(this), 0, wxEXPAND | wxALL, 5);
    top->Add(new wxStaticText(this, wxID_ANY,
                              "                                                                      Cameras main view "
                              "parameters list:"),
             0, wxLEFT, 5);
    auto* mid = new wxBoxSizer(wxHORIZONTAL);
    m_list = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(380, 120));
    mid->Add(m_list, 1, wxALL, 5);
    auto* side = new wxBoxSizer(wxVERTICAL);
    wxArrayString cams;
    for (int c = 1; c <= 4; ++c) cams.Add(wxString::Format("Camera #%d", c));
    m_camera = new wxComboBox(this, ID_CAMERA, cams[0], wxDefaultPosition, wxSize(90, 20), cams, wxCB_READONLY);
    m_camera->SetSelection(0);
    side->Add(m_camera, 0, wxBOTTOM, 5);
    side->Add(new wxButton(this, ID_ADD, "Add parameter"), 0, wxBOTTOM, 5);
    side->Add(new wxButton(this, ID_REMOVE, "Remove parameter"), 0);
    mid->Add(side, 0, wxALL, 5);
    top->Add(mid, 1, wxEXPAND);
    top->Add(new wxStaticLine(this), 0, wxEXPAND | wxALL, 5);
    top->Add(new wxButton(this, ID_CLOSE, "Close"), 0, wxALIGN_RIGHT | wxALL, 5);
    SetSizer(top);

    Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { ShowCameraList(); }, ID_CAMERA);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        CSelectParameters dlg(1, "Cameras main view parameters list", 0, this, m_camera->GetSelection(), this, false,
                              m_state.session.Catalogue(), m_state.openDialogCount,
                              wxString::FromUTF8(m_state.ProgramFolder()));
        dlg.ShowModal();
    }, ID_ADD);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnRemove(); }, ID_REMOVE);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnCloseButton(); }, ID_CLOSE);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { OnCloseBox(); });
    ShowCameraList();
}

CConfig::~CConfig() {
    if (m_counted) --m_state.openDialogCount;
}

void CConfig::ShowCameraList() {
    m_list->Clear();
    std::shared_ptr<const ParamCatalogue> cat = m_state.session.Catalogue();
    for (const std::string& ref : m_refs[m_camera->GetSelection()]) {
        if (const ParamRecord* r = FindCatalogueEntry(*cat, ref.c_str())) m_list->Append(wxString::FromUTF8(r->label));
    }
}

bool CConfig::Contains(const std::string& reference) {
    const auto& refs = m_refs[m_camera->GetSelection()];
    return std::find(refs.begin(), refs.end(), reference) != refs.end();
}

int CConfig::Add(const std::string&, const std::string& reference) {
    if (Contains(reference)) return 1;
    m_refs[m_camera->GetSelection()].push_back(reference);
    std::shared_ptr<const ParamCatalogue> cat = m_state.session.Catalogue();
    if (const ParamRecord* r = FindCatalogueEntry(*cat, reference.c_str())) m_list->Append(wxString::FromUTF8(r->label));
    return 0;
}

void CConfig::OnSelect(int camera) {
    const wxString chosen = chooseFolder(camera, m_paths[camera]->GetValue());
    m_paths[camera]->SetValue(chosen);
    if (chosen.empty()) return;  // cancelled: the block keeps its path until "Close"
    m_state.config.SetPath(camera, chosen.utf8_string());
    if (m_reconnect) m_reconnect();
}

void CConfig::OnRemove() {
    if (m_list->GetCount() == 0) {
        wxMessageBox("No parameters in list", "Remove parameter", wxOK, this);
        return;
    }
    const int sel = m_list->GetSelection();
    if (sel == wxNOT_FOUND) {
        wxMessageBox("Select parameter, please", "Remove parameter", wxOK, this);
        return;
    }
    // The list box shows the references whose records exist, in order.
    auto& refs = m_refs[m_camera->GetSelection()];
    std::shared_ptr<const ParamCatalogue> cat = m_state.session.Catalogue();
    int shown = -1;
    for (size_t i = 0; i < refs.size(); ++i) {
        if (FindCatalogueEntry(*cat, refs[i].c_str()) && ++shown == sel) {
            refs.erase(refs.begin() + static_cast<long>(i));
            break;
        }
    }
    m_list->Delete(static_cast<unsigned>(sel));
}

void CConfig::OnCloseButton() {
    for (int c = 0; c < 4; ++c) {
        const std::string field = m_paths[c]->GetValue().utf8_string();
        if (field != m_state.config.Path(c)) m_state.config.SetPath(c, field);
    }
    {
        std::lock_guard<std::recursive_mutex> lock(m_state.cameraLock);
        for (int c = 0; c < 4; ++c) m_state.config.SetReferences(c, m_refs[c]);
    }
    if (m_reconnect) m_reconnect();
    if (m_counted) {
        --m_state.openDialogCount;
        m_counted = false;
    }
    if (IsModal()) EndModal(4);
}

void CConfig::OnCloseBox() {
    if (m_counted) {
        --m_state.openDialogCount;
        m_counted = false;
    }
    if (IsModal()) EndModal(4);
    else Hide();
}
