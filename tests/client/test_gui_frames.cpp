// The frame editor's rules, through its handlers; questions are answered
// through the modal dialog hook.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include <wx/statbox.h>

#include "createframe.h"
#include "frametable.h"
#include "gui_support.h"
#include "tempdir.h"

using guitest::AnswerDialogs;

namespace {

// S0..S24 share one scale; U0..U9 have a scale each; B0 is a bit parameter.
std::shared_ptr<ParamCatalogue> MakeCatalogue() {
    auto c = std::make_shared<ParamCatalogue>();
    std::memset(c->records, 0, sizeof c->records);
    int n = 0;
    auto add = [&](const std::string& id, const std::string& units, int type) {
        ParamRecord& r = c->records[n++];
        std::strcpy(r.progId, id.c_str());
        std::strcpy(r.label, ("L" + id).c_str());
        std::strcpy(r.units, units.c_str());
        std::strcpy(r.lowBound, "0.000000");
        std::strcpy(r.highBound, "1.000000");
        r.type = type;
        r.view = 2;
    };
    for (int i = 0; i < 25; ++i) add("S" + std::to_string(i), "bar", 9);
    for (int i = 0; i < 10; ++i) add("U" + std::to_string(i), "u" + std::to_string(i), 9);
    add("B0", "", 15);
    add("V0", "u0", 9);  // the scale of U0
    c->count = n;
    return c;
}

std::string Ref(const std::string& id) { return "N1: " + id; }

class Editor : public ::testing::Test {
protected:
    void SetUp() override {
        if (!guitest::HaveDisplay()) GTEST_SKIP() << "no display";
        folder = dir.path() + "/";
    }
    std::unique_ptr<CCreateFrame> Open(const std::string& name = "") {
        return std::make_unique<CCreateFrame>(nullptr, name, table, catalogue, open, folder);
    }
    FrameTable Stored() {
        FrameTable t;
        LoadFrames(folder, t);
        return t;
    }
    testsupport::TempDir dir;
    std::string folder;
    FrameTable table;
    std::shared_ptr<ParamCatalogue> catalogue = MakeCatalogue();
    std::atomic<int> open{0};
};

} // namespace

TEST_F(Editor, BandsAndTheSixteenthBand) {
    auto ed = Open();
    EXPECT_EQ(open, 1);
    EXPECT_EQ(ed->GetTitle(), "Create frame");
    AnswerDialogs answers(wxID_OK);
    for (int i = 0; i < 15; ++i) ed->AddBand();
    EXPECT_EQ(ed->Bands()->GetCount(), 15u);
    EXPECT_TRUE(answers.messages.empty());
    ed->AddBand();
    ASSERT_EQ(answers.messages.size(), 1u);
    EXPECT_EQ(answers.messages[0], "Number of band's must be less then 15");
    EXPECT_EQ(answers.captions[0], "Error create frame");
    EXPECT_TRUE(ed->Changed());
    EXPECT_EQ(ed->CurrentBand(), 14);
}

TEST_F(Editor, AddParameterCodesAndPrecedence) {
    auto ed = Open();
    EXPECT_EQ(ed->AddParameter("x", Ref("S0")), 4);  // no band yet
    ed->AddBand();
    for (int i = 0; i < 10; ++i) EXPECT_EQ(ed->AddParameter("x", Ref("S" + std::to_string(i))), 0);
    EXPECT_EQ(ed->AddParameter("x", Ref("S10")), 2);   // ten already
    EXPECT_EQ(ed->AddParameter("x", Ref("S3")), 1);    // already in the frame wins over too many
    ed->AddBand();
    EXPECT_EQ(ed->AddParameter("x", Ref("S3")), 1);    // in another band of the frame
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ed->AddParameter("x", Ref("U" + std::to_string(i))), 0);
    EXPECT_EQ(ed->AddParameter("x", Ref("U4")), 3);    // a fifth scale
    EXPECT_EQ(ed->AddParameter("x", Ref("B0")), 0);    // a bit parameter has no scale
    EXPECT_EQ(ed->BandList(1).size(), 5u);
    // Insertion after the selected entry.
    ed->Params()->SetSelection(0);
    EXPECT_EQ(ed->AddParameter("x", Ref("V0")), 0);
    EXPECT_EQ(ed->BandList(1)[1], Ref("V0"));
    EXPECT_EQ(ed->Params()->GetString(1), "N1: LV0");
}

TEST_F(Editor, SaveChecksInBandOrder) {
    auto ed = Open();
    AnswerDialogs answers(wxID_OK);
    ed->Name()->SetValue("Boiler");
    ed->SaveFrame(false);
    ed->AddBand();
    ed->AddBand();
    ed->AddBand();
    // Band 1 holds five scales (added behind the dialog's check), band 3 is empty.
    ed->Bands()->SetSelection(0);
    ed->ShowBand();
    for (int i = 0; i < 4; ++i) ed->AddParameter("x", Ref("U" + std::to_string(i)));
    ed->Bands()->SetSelection(1);
    ed->ShowBand();
    ed->AddParameter("x", Ref("S0"));
    const_cast<std::vector<std::string>&>(ed->BandList(0)).push_back(Ref("U9"));
    EXPECT_FALSE(ed->SaveFrame(false));
    ASSERT_EQ(answers.messages.size(), 2u);
    EXPECT_EQ(answers.messages[0], "Band's not exist");
    EXPECT_EQ(answers.messages[1], "Scales count is more then 4");
    const_cast<std::vector<std::string>&>(ed->BandList(0)).pop_back();
    EXPECT_FALSE(ed->SaveFrame(false));
    EXPECT_EQ(answers.messages.back(), "No parameters in band");
    EXPECT_EQ(table.Count(), 0);  // nothing stored by a failed save

    ed->Bands()->SetSelection(2);
    ed->ShowBand();
    ed->AddParameter("x", Ref("S1"));
    EXPECT_TRUE(ed->SaveFrame(false));
    EXPECT_FALSE(ed->Changed());
    ASSERT_EQ(Stored().Count(), 1);
    EXPECT_EQ(Stored().records[0].bandCount, 3);
    EXPECT_EQ(Stored().records[0].bands[0].params.size(), 4u);
}

TEST_F(Editor, TwentyFromTheFileSaveButNotTwentyOne) {
    FrameRecord r;
    r.name = "Long";
    r.kind = FRAME_TREND;
    r.bandCount = 1;
    for (int i = 0; i < 20; ++i) r.bands[0].params.push_back(Ref("S" + std::to_string(i)));
    table.records.push_back(r);
    auto ed = Open("Long");
    EXPECT_EQ(ed->BandList(0).size(), 20u);
    AnswerDialogs answers(wxID_YES);
    EXPECT_TRUE(ed->SaveFrame(false));  // replace: yes
    EXPECT_EQ(answers.messages[0], "Frame already exist. Replace?");
    const_cast<std::vector<std::string>&>(ed->BandList(0)).push_back(Ref("S21"));
    EXPECT_FALSE(ed->SaveFrame(false));
    EXPECT_EQ(answers.messages.back(), "Parameters count is more then 20");
}

TEST_F(Editor, FrameLimitAndReplacementAt512) {
    for (int i = 0; i < 512; ++i) {
        FrameRecord r;
        r.name = "T" + std::to_string(i);
        r.kind = FRAME_TABLE;
        r.tableParams = {Ref("S0")};
        table.records.push_back(r);
    }
    auto ed = Open("T5");
    EXPECT_FALSE(ed->View()->IsItemEnabled(0));  // a table frame: no "Trend"
    AnswerDialogs answers(wxID_YES);
    EXPECT_FALSE(ed->SaveFrame(false));  // even the replacement
    EXPECT_EQ(answers.messages[0], "Frames count is too money");
    EXPECT_EQ(table.Count(), 512);
    table.records.pop_back();
    ed->Name()->SetValue("New one");
    EXPECT_TRUE(ed->SaveFrame(false));  // the 512th
    EXPECT_EQ(table.Count(), 512);
    ed->Name()->SetValue("Another");
    EXPECT_FALSE(ed->SaveFrame(false));  // the 513th
}

TEST_F(Editor, CloseWithYesReplacesWithoutAsking) {
    FrameRecord r;
    r.name = "Boiler";
    r.kind = FRAME_TREND;
    r.timeRange = FRAME_LONG;
    r.bandCount = 1;
    r.bands[0].params = {Ref("S0")};
    table.records.push_back(r);
    auto ed = Open("Boiler");
    EXPECT_TRUE(ed->View()->IsItemEnabled(0));
    ed->AddParameter("x", Ref("S1"));
    AnswerDialogs answers(wxID_YES);
    EXPECT_TRUE(ed->CloseFrame());
    ASSERT_EQ(answers.messages.size(), 1u);
    EXPECT_EQ(answers.messages[0], "Frame has been changed. Do you want to save changes?");
    EXPECT_EQ(table.records[0].bands[0].params.size(), 2u);
    EXPECT_EQ(table.records[0].timeRange, FRAME_LONG);  // a replaced frame keeps it
    EXPECT_EQ(open, 0);
}

TEST_F(Editor, LoadingAnotherFrameKeepsTheChangedFlag) {
    for (const char* n : {"A", "B"}) {
        FrameRecord r;
        r.name = n;
        r.kind = FRAME_TREND;
        r.bandCount = 1;
        r.bands[0].params = {Ref("S0")};
        table.records.push_back(r);
    }
    auto ed = Open("A");
    ed->AddParameter("x", Ref("S1"));
    ed->Name()->SetSelection(1);
    ed->LoadFrame();
    EXPECT_TRUE(ed->Changed());
    EXPECT_EQ(ed->BandList(0).size(), 1u);
    // Close with "No" ends without saving.
    AnswerDialogs no(wxID_NO);
    EXPECT_TRUE(ed->CloseFrame());
    EXPECT_EQ(table.records[0].bands[0].params.size(), 1u);
}

TEST_F(Editor, DoubleClicksAndRemoveAll) {
    auto ed = Open();
    ed->AddBand();
    ed->AddParameter("x", Ref("S0"));
    ed->AddParameter("x", Ref("S1"));
    ed->AddBand();
    ed->AddParameter("x", Ref("S2"));
    {
        AnswerDialogs yes(wxID_YES);
        ed->Bands()->SetSelection(0);
        ed->RemoveBand();  // as a double click on the band does
        ASSERT_EQ(yes.messages.size(), 1u);
        EXPECT_EQ(yes.messages[0], "Remove band #1 ?");
    }
    EXPECT_EQ(ed->Bands()->GetCount(), 1u);
    EXPECT_EQ(ed->Bands()->GetString(0), "Band 1");
    EXPECT_EQ(ed->BandList(0), std::vector<std::string>{Ref("S2")});
    // A parameter double click removes at once, without a question.
    AnswerDialogs none(wxID_NO);
    ed->RemoveParameter(0);
    EXPECT_TRUE(none.messages.empty());
    EXPECT_TRUE(ed->BandList(0).empty());
    ed->AddParameter("x", Ref("S5"));
    ed->RemoveAll();  // "No"
    EXPECT_EQ(none.messages.back(), "Are you ure to remove all parameters?");
    EXPECT_EQ(ed->BandList(0).size(), 1u);
}

TEST_F(Editor, RemoveFrameByTypedNameOfTheOtherKind) {
    FrameRecord trend;
    trend.name = "Boiler";
    trend.kind = FRAME_TREND;
    trend.bandCount = 1;
    trend.bands[0].params = {Ref("S0")};
    FrameRecord tab;
    tab.name = "Levels";
    tab.kind = FRAME_TABLE;
    tab.tableParams = {Ref("S1")};
    table.records = {trend, tab};
    auto ed = Open();  // lists trend frames
    AnswerDialogs answers(wxID_YES);
    ed->Name()->SetValue("Levels");
    ed->RemoveFrame();
    EXPECT_EQ(answers.messages.back(), "Are you sure to remove selected frame?");
    ASSERT_EQ(table.Count(), 1);
    EXPECT_EQ(table.records[0].name, "Boiler");
    EXPECT_EQ(Stored().Count(), 1);
    // A name no frame bears removes nothing.
    ed->Name()->SetValue("Nothing");
    ed->RemoveFrame();
    EXPECT_EQ(table.Count(), 1);
    ed->Name()->SetValue("");
    ed->RemoveFrame();
    EXPECT_EQ(answers.messages.back(), "No frames selected");
    // The kind switch lists the other kind's frames.
    ed->SelectKind(FRAME_TABLE);
    EXPECT_EQ(ed->Name()->GetCount(), 0u);
    EXPECT_FALSE(ed->BandsGroup()->GetStaticBox()->IsShown());
}
