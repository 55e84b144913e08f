#include "selectparams.h"

#include <wx/button.h>
#include <wx/icon.h>
#include <wx/imaglist.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

namespace {

const char* ViewText(int view) {
    switch (view) {
    case 0: return "table";
    case 1: return "trend";
    case 2: return "table, trend";
    default: return "";
    }
}

const char* StatusText(int status) {
    switch (status) {
    case 0: return "not used";
    case 1: return "parameter for archive";
    default: return "";
    }
}

} // namespace

std::vector<std::string> PropertyLines(const ParamRecord* r) {
    if (!r) return std::vector<std::string>(8);
    return {
        std::string("Name:                       ") + r->name,
        std::string("Description:              ") + r->description,
        std::string("ProgID:                    ") + r->progId,
        std::string("Range:                     [") + r->lowBound + " - " + r->highBound + "]",
        std::string("Units:                        ") + r->units,
        std::string("View:                        ") + ViewText(r->view),
        std::string("Accuracy:                ") + r->accuracy,
        std::string("Status:                     ") + StatusText(r->status),
    };
}

std::string SelectionHeader(int listKind, const std::string& frameName, int band) {
    const std::string what = listKind == 0 ? "band #" + std::to_string(band + 1) : std::string("table");
    return "Frame: < " + frameName + " > , " + what;
}

const char* AddResultMessage(int code) {
    switch (code) {
    case 1: return "Parameters already in frame";
    case 2: return "Parameters count is too many";
    case 3: return "Can not add a parameter. Scales count is too many.";
    default: return "";
    }
}

std::vector<int> TreeEntries(const ParamCatalogue& catalogue, int camera, int listKind) {
    std::vector<int> out;
    for (int i = 0; i < catalogue.count; ++i) {
        const ParamRecord& r = catalogue.records[i];
        if (r.database != camera) continue;
        if (listKind == 0 && r.view == 0) continue;
        out.push_back(i);
    }
    return out;
}

CSelectParameters::CSelectParameters(int listKind, const std::string& frameName, int band, IParameterListOwner* owner,
                                     int startCamera, wxWindow* parent, bool lockCamera,
                                     std::shared_ptr<const ParamCatalogue> catalogue, std::atomic<int>& openDialogs,
                                     const wxString& programFolder)
    : wxDialog(parent, wxID_ANY, "Parameters", wxDefaultPosition, wxSize(750, 400),
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_listKind(listKind),
      m_band(band),
      m_frameName(frameName),
      m_owner(owner),
      m_catalogue(catalogue ? std::move(catalogue) : std::make_shared<ParamCatalogue>()),
      m_openDialogs(openDialogs) {
    ++m_openDialogs;
    wxIcon icon;
    if (wxFileExists(programFolder + "Res/MenuFrame_Trend.ico") &&
        icon.LoadFile(programFolder + "Res/MenuFrame_Trend.ico", wxBITMAP_TYPE_ICO))
        SetIcon(icon);
    m_nodes.resize(kMaxCatalogue);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(SelectionHeader(listKind, frameName, band))), 0,
             wxALL, 5);
    auto* body = new wxBoxSizer(wxHORIZONTAL);
    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(new wxStaticText(this, wxID_ANY, "All parameters:"), 0, wxBOTTOM, 3);
    m_tree = new wxTreeCtrl(this, ID_TREE, wxDefaultPosition, wxSize(310, 260),
                            wxTR_HIDE_ROOT | wxTR_LINES_AT_ROOT | wxTR_HAS_BUTTONS | wxTR_ROW_LINES | wxTR_SINGLE);
    auto* images = new wxImageList(16, 16, true);
    const char* icons[] = {"ParamGroups", "Parameter", "Archive", "ChannelBlock", "ComplectBlock", "Cfg",
                           "Param", "DC", "PP_AZ", "Wrk", "Razb", "Slave"};
    for (const char* name : icons) {
        wxIcon ic;
        const wxString path = programFolder + "Res/" + name + ".ico";
        if (wxFileExists(path) && ic.LoadFile(path, wxBITMAP_TYPE_ICO)) images->Add(ic);
        else images->Add(wxBitmap(16, 16));
    }
    m_tree->AssignImageList(images);
    left->Add(m_tree, 0);
    body->Add(left, 0, wxALL, 5);

    auto* right = new wxBoxSizer(wxVERTICAL);
    auto* box = new wxStaticBoxSizer(wxVERTICAL, this, "Parameter properties");
    for (int i = 0; i < 8; ++i) {
        auto* t = new wxStaticText(box->GetStaticBox(), wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(380, -1),
                                   wxST_NO_AUTORESIZE);
        m_lines.push_back(t);
        box->Add(t, 0, wxALL, 3);
    }
    right->Add(box, 0, wxEXPAND);
    right->Add(new wxButton(this, ID_ADD, "Add parameter"), 0, wxTOP, 8);
    auto* cams = new wxBoxSizer(wxHORIZONTAL);
    cams->Add(new wxStaticText(this, wxID_ANY, "Cameras:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 5);
    wxArrayString names;
    for (int c = 1; c <= 4; ++c) names.Add(wxString::Format("Camera #%d", c));
    m_camera = new wxComboBox(this, ID_CAMERA, names[0], wxDefaultPosition, wxSize(130, 20), names, wxCB_READONLY);
    m_camera->SetSelection(startCamera >= 0 && startCamera < 4 ? startCamera : 0);
    m_camera->Enable(!lockCamera);
    cams->Add(m_camera, 0);
    right->Add(cams, 0, wxTOP, 8);
    right->Add(new wxButton(this, ID_CLOSE, "Close"), 0, wxTOP, 8);
    body->Add(right, 1, wxALL, 5);
    top->Add(body, 1, wxEXPAND);
    SetSizer(top);

    Bind(wxEVT_TREE_SEL_CHANGED, &CSelectParameters::OnSelChanged, this, ID_TREE);
    Bind(wxEVT_TREE_ITEM_ACTIVATED, &CSelectParameters::OnActivated, this, ID_TREE);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { AddSelected(); }, ID_ADD);
    Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { FillTree(); }, ID_CAMERA);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Close(); }, ID_CLOSE);
    Bind(wxEVT_CLOSE_WINDOW, &CSelectParameters::OnClose, this);
    FillTree();
}

CSelectParameters::~CSelectParameters() {
    if (m_counted) --m_openDialogs;
}

void CSelectParameters::FillTree() {
    const int c = m_camera->GetSelection();
    m_tree->DeleteAllItems();
    std::fill(m_nodes.begin(), m_nodes.end(), wxTreeItemId());
    m_selected = -1;
    m_selectedLabel.clear();
    m_selectedProgId.clear();
    for (wxStaticText* t : m_lines) t->SetLabel(wxEmptyString);
    wxTreeItemId root = m_tree->AddRoot("root");
    wxTreeItemId group = m_tree->AppendItem(root, "Parameters", 0);
    int n = 0;
    for (int i : TreeEntries(*m_catalogue, c, m_listKind)) {
        wxTreeItemId node = m_tree->AppendItem(group, wxString::FromUTF8(m_catalogue->records[i].label), 1);
        m_tree->SetItemData(node, new CMyItemData(i, n++));
        m_nodes[static_cast<size_t>(i)] = node;
    }
    m_tree->Expand(group);
    RefreshMarks();
}

void CSelectParameters::RefreshMarks() {
    const int c = m_camera->GetSelection();
    for (int i = 0; i < m_catalogue->count && i < kMaxCatalogue; ++i) {
        if (!m_nodes[static_cast<size_t>(i)].IsOk()) continue;
        const std::string ref = MakeParameterRef(c + 1, m_catalogue->records[i].progId);
        m_tree->SetItemBold(m_nodes[static_cast<size_t>(i)], m_owner && m_owner->Contains(ref));
    }
}

bool CSelectParameters::IsBold(int i) const {
    return i >= 0 && i < kMaxCatalogue && m_nodes[static_cast<size_t>(i)].IsOk() &&
           m_tree->IsBold(m_nodes[static_cast<size_t>(i)]);
}

void CSelectParameters::SelectEntry(int catalogueIndex) {
    m_selected = -1;
    m_selectedLabel.clear();
    m_selectedProgId.clear();
    const ParamRecord* r = nullptr;
    if (catalogueIndex >= 0 && catalogueIndex < m_catalogue->count) {
        r = &m_catalogue->records[catalogueIndex];
        m_selected = catalogueIndex;
        m_selectedLabel = r->label;
        m_selectedProgId = r->progId;
    }
    const std::vector<std::string> lines = PropertyLines(r);
    for (size_t i = 0; i < m_lines.size(); ++i) m_lines[i]->SetLabel(wxString::FromUTF8(lines[i]));
}

std::vector<std::string> CSelectParameters::Lines() const {
    std::vector<std::string> out;
    for (wxStaticText* t : m_lines) out.push_back(t->GetLabel().utf8_string());
    return out;
}

void CSelectParameters::OnSelChanged(wxTreeEvent& e) {
    auto* data = e.GetItem().IsOk() ? dynamic_cast<CMyItemData*>(m_tree->GetItemData(e.GetItem())) : nullptr;
    SelectEntry(data ? data->catalogueIndex : -1);
}

void CSelectParameters::OnActivated(wxTreeEvent& e) {
    auto* data = e.GetItem().IsOk() ? dynamic_cast<CMyItemData*>(m_tree->GetItemData(e.GetItem())) : nullptr;
    if (data) AddSelected();
}

void CSelectParameters::AddSelected() {
    if (m_selectedLabel.empty() || !m_owner) return;
    const int c = m_camera->GetSelection();
    const std::string label = "N" + std::to_string(c + 1) + ": " + m_selectedLabel;
    const std::string ref = MakeParameterRef(c + 1, m_selectedProgId.c_str());
    const int code = m_owner->Add(label, ref);
    const char* message = AddResultMessage(code);
    if (*message) wxMessageBox(message, "Add a parameter", wxOK | wxICON_ERROR, this);
    RefreshMarks();
}

void CSelectParameters::SetCamera(int camera) {
    m_camera->SetSelection(camera);
    FillTree();
}

void CSelectParameters::OnClose(wxCloseEvent&) {
    if (m_counted) {
        --m_openDialogs;
        m_counted = false;
    }
    if (IsModal()) EndModal(4);
    else Hide();
}
