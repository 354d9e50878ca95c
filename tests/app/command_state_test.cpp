#include <gtest/gtest.h>

#include "app/command_state.h"

namespace morvane::app {
namespace {

bool Enabled(const CommandStates& s, const std::string& name) { return s.at(name).enabled; }

TEST(CommandState, SaveAndRestoreFollowTheChangedMark) {
  struct Row {
    bool changed;
    int upper;
    bool mapExists;
    bool saveAsBefore;
    bool save, saveAs, restore;
  };
  const Row rows[] = {
      {true, 12, true, false, true, true, true},     {true, 12, false, false, true, true, false},
      {true, 0, true, true, false, false, true},    // no points: nothing to save
      {false, 12, true, true, false, true, false},  // Save As keeps its state
      {false, 12, true, false, false, false, false},
  };
  for (const Row& row : rows) {
    CommandInputs in;
    in.hasPicture = true;
    in.changed = row.changed;
    in.upperBound = row.upper;
    in.mapExists = row.mapExists;
    in.saveAsEnabled = row.saveAsBefore;
    const CommandStates s = ComputeCommandState(in);
    EXPECT_EQ(Enabled(s, "mFileSave"), row.save);
    EXPECT_EQ(Enabled(s, "tb:Save"), row.save);
    EXPECT_EQ(Enabled(s, "mFileSaveAs"), row.saveAs);
    EXPECT_EQ(Enabled(s, "mEditRestore"), row.restore);
  }
}

TEST(CommandState, MergeAndDeleteContourNeedSeveralContoursAndNoConnected) {
  struct Row {
    bool edit;
    int contours;
    bool connected;
    bool merge;
  };
  const Row rows[] = {
      {true, 2, false, true},
      {true, 1, false, false},
      {true, 5, true, false},
      {false, 5, false, false},
  };
  for (const Row& row : rows) {
    CommandInputs in;
    in.hasPicture = true;
    in.editEnabled = row.edit;
    in.contourCount = row.contours;
    in.connected = row.connected;
    const CommandStates s = ComputeCommandState(in);
    EXPECT_EQ(Enabled(s, "mEditMerge"), row.merge);
    EXPECT_EQ(Enabled(s, "mEditDeleteContour"), row.merge);
    EXPECT_EQ(Enabled(s, "tb:Merge"), row.merge);
    EXPECT_EQ(Enabled(s, "mEditCopy"), row.edit);
  }
}

TEST(CommandState, ARunLeavesOnlyStop) {
  CommandInputs in;
  in.hasPicture = true;
  in.changed = true;
  in.upperBound = 40;
  in.editEnabled = true;
  in.painterExists = true;
  in.recentEnabled = true;
  in.helpFileExists = true;
  in.running = true;
  for (const auto& [name, state] : ComputeCommandState(in)) {
    EXPECT_EQ(state.enabled, name == "tb:Stop") << name;
  }
  in.running = false;
  const CommandStates idle = ComputeCommandState(in);
  EXPECT_FALSE(Enabled(idle, "tb:Stop"));
  EXPECT_TRUE(Enabled(idle, "mFile"));
  EXPECT_TRUE(Enabled(idle, "tb:Create"));
}

TEST(CommandState, PictureDependentItemsAndChecks) {
  CommandInputs in;
  in.painterExists = true;
  in.zoomIndex = 2;
  in.method = 1;
  in.grid = false;
  CommandStates s = ComputeCommandState(in);
  for (const char* name : {"mFileCreate", "mFileStart", "mFilePainter", "mViewGrid", "mViewMagnifier",
                           "mViewZoom(0)", "tb:Dropper", "tb:Create"}) {
    EXPECT_FALSE(Enabled(s, name)) << name;
  }
  EXPECT_TRUE(Enabled(s, "mFileOpen"));
  EXPECT_TRUE(s.at("mViewZoom(2)").checked);
  EXPECT_FALSE(s.at("mViewZoom(0)").checked);
  EXPECT_TRUE(s.at("mSettingsMethod(1)").checked);
  EXPECT_FALSE(s.at("mViewGrid").checked);
  EXPECT_FALSE(s.at("tb:Grid").checked);
  EXPECT_TRUE(s.at("tb:Connect").checked);
  in.hasPicture = true;
  s = ComputeCommandState(in);
  for (const char* name :
       {"mFileCreate", "mFileStart", "mFilePainter", "mViewGrid", "mViewZoom(3)", "tb:Dropper"}) {
    EXPECT_TRUE(Enabled(s, name)) << name;
  }
  in.painterExists = false;
  EXPECT_FALSE(Enabled(ComputeCommandState(in), "mFilePainter"));
  EXPECT_FALSE(Enabled(ComputeCommandState(in), "tb:Painter"));
}

}  // namespace
}  // namespace morvane::app
