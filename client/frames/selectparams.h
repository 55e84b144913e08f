// CSelectParameters: picks parameters of one camera from the catalogue tree
// and hands each addition to the list's owner.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/stattext.h>
#include <wx/treectrl.h>

#include "catalogue.h"

// The owner of the list the dialog adds to: the frame editor, the export
// dialog or the configuration dialog.
class IParameterListOwner {
public:
    virtual ~IParameterListOwner() = default;
    virtual bool Contains(const std::string& reference) = 0;
    // 0 added, 1 already there, 2 too many, 3 too many scales, 4 no band.
    virtual int Add(const std::string& label, const std::string& reference) = 0;
};

// The eight property lines of a record (empty texts without one).
std::vector<std::string> PropertyLines(const ParamRecord* record);
std::string SelectionHeader(int listKind, const std::string& frameName, int band);
// The message for an owner's answer, or empty.
const char* AddResultMessage(int code);
// Catalogue indexes the tree shows for a camera: its database's entries,
// for a trend band (list kind 0) only those shown in trends.
std::vector<int> TreeEntries(const ParamCatalogue& catalogue, int camera, int listKind);

class CMyItemData : public wxTreeItemData {
public:
    CMyItemData(int index, int item) : catalogueIndex(index), treeItem(item) {}
    int catalogueIndex;
    int treeItem;
};

class CSelectParameters : public wxDialog {
public:
    enum { ID_TREE = 1, ID_ADD = 1002, ID_CAMERA = 1006, ID_CLOSE = 1001 };

    CSelectParameters(int listKind, const std::string& frameName, int band, IParameterListOwner* owner,
                      int startCamera, wxWindow* parent, bool lockCamera,
                      std::shared_ptr<const ParamCatalogue> catalogue, std::atomic<int>& openDialogs,
                      const wxString& programFolder);
    ~CSelectParameters() override;

    void FillTree();
    void RefreshMarks();
    void SelectEntry(int catalogueIndex);  // as a click on its node does
    void AddSelected();
    void SetCamera(int camera);

    wxTreeCtrl* Tree() { return m_tree; }
    wxComboBox* CameraList() { return m_camera; }
    std::vector<std::string> Lines() const;
    bool IsBold(int catalogueIndex) const;

private:
    void OnSelChanged(wxTreeEvent&);
    void OnActivated(wxTreeEvent&);
    void OnClose(wxCloseEvent&);

    int m_listKind, m_band;
    std::string m_frameName;
    IParameterListOwner* m_owner;
    std::shared_ptr<const ParamCatalogue> m_catalogue;
    std::atomic<int>& m_openDialogs;
    bool m_counted = true;
    wxTreeCtrl* m_tree;
    wxComboBox* m_camera;
    std::vector<wxStaticText*> m_lines;
    std::vector<wxTreeItemId> m_nodes;  // by catalogue index
    int m_selected = -1;
    std::string m_selectedLabel, m_selectedProgId;
};
