// CCreateFrame: the frame editor. It edits a working copy of one frame and
// writes it into the frame table and Frames.ini on "Save frame".
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/listbox.h>
#include <wx/radiobox.h>
#include <wx/sizer.h>

#include "catalogue.h"
#include "frametable.h"
#include "selectparams.h"

class CCreateFrame : public wxDialog, public IParameterListOwner {
public:
    enum {
        ID_BANDS = 0, ID_PARAMS = 1, ID_ADD_BAND = 2, ID_REMOVE_BAND = 3, ID_VIEW = 4, ID_ADD_PARAM = 7,
        ID_REMOVE_PARAM = 8, ID_REMOVE_ALL = 9, ID_NAME = 10, ID_SAVE = 1002, ID_REMOVE_FRAME = 1003, ID_CLOSE = 1001,
    };

    CCreateFrame(wxWindow* parent, const std::string& frameName, FrameTable& table,
                 std::shared_ptr<const ParamCatalogue> catalogue, std::atomic<int>& openDialogs,
                 const std::string& programFolder);
    ~CCreateFrame() override;

    // IParameterListOwner: the whole frame (every band, or the table list).
    bool Contains(const std::string& reference) override;
    int Add(const std::string& label, const std::string& reference) override { return AddParameter(label, reference); }
    int AddParameter(const std::string& label, const std::string& reference);

    void RefillNames(const std::string& name);
    void LoadFrame();
    void ShowBand();
    void SelectKind(int kind);
    void AddBand();
    void RemoveBand();
    void OpenParameterDialog();
    void RemoveParameter(int entry);
    void RemoveAll();
    // autoSave: the save of Close, which replaces without asking.
    bool SaveFrame(bool autoSave);
    void RemoveFrame();
    // The close steps; true when the dialog ended.
    bool CloseFrame();

    bool Changed() const { return m_changed; }
    int CurrentBand() const { return m_currentBand; }
    const std::vector<std::string>& TableList() const { return m_table; }
    const std::vector<std::string>& BandList(int b) const { return m_bands[b]; }
    wxComboBox* Name() { return m_name; }
    wxRadioBox* View() { return m_view; }
    wxListBox* Bands() { return m_bandList; }
    wxListBox* Params() { return m_paramList; }
    wxStaticBoxSizer* BandsGroup() { return m_bandsGroup; }

private:
    int Kind() const { return m_view->GetSelection(); }
    std::string Label(const std::string& ref) const;
    void Error(const char* text);

    FrameTable& m_frames;
    std::shared_ptr<const ParamCatalogue> m_catalogue;
    std::atomic<int>& m_openDialogs;
    bool m_counted = true;
    std::string m_folder;
    bool m_changed = false;
    std::vector<std::string> m_table;
    std::vector<std::string> m_bands[kMaxBands];
    int m_currentBand = -1;
    wxComboBox* m_name;
    wxRadioBox* m_view;
    wxListBox *m_bandList, *m_paramList;
    wxStaticBoxSizer* m_bandsGroup;
};
