// CConfig: the database folder of each camera and the parameters each
// camera view prints.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/listbox.h>
#include <wx/textctrl.h>

#include "appstate.h"
#include "selectparams.h"

class CConfig : public wxDialog, public IParameterListOwner {
public:
    enum { ID_SELECT = 10014, ID_CAMERA = 2002, ID_ADD = 10020, ID_REMOVE = 10021, ID_CLOSE = 10011 };

    // reconnect: the main window's connection procedure.
    CConfig(wxWindow* parent, AppState& state, std::function<void()> reconnect);
    ~CConfig() override;

    // IParameterListOwner, for the camera selected in the combo.
    bool Contains(const std::string& reference) override;
    int Add(const std::string& label, const std::string& reference) override;

    void ShowCameraList();
    void OnSelect(int camera);   // "Select" of a camera, with the folder chosen (empty: cancelled)
    void OnRemove();
    void OnCloseButton();
    void OnCloseBox();

    wxTextCtrl* PathField(int camera) { return m_paths[camera]; }
    wxListBox* List() { return m_list; }
    wxComboBox* Camera() { return m_camera; }
    const std::vector<std::string>& Refs(int camera) const { return m_refs[camera]; }

    // How the folder dialog is asked; tests answer it.
    std::function<wxString(int camera, const wxString& start)> chooseFolder;

private:
    AppState& m_state;
    std::function<void()> m_reconnect;
    bool m_counted = true;
    wxTextCtrl* m_paths[4];
    wxListBox* m_list;
    wxComboBox* m_camera;
    std::vector<std::string> m_refs[4];
};
