#include "document/document_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace morvane::document {
namespace {

using Paths = std::vector<std::string>;

TEST(DocumentModelTest, RecentFilesPutFirstMoveUpAndDropTheOldest) {
  DocumentModel model;
  std::vector<unsigned> notices;
  model.Observe([&](unsigned changes) { notices.push_back(changes); });
  for (const char* p : {"/r/3", "/r/2", "/r/1", "/r/0"}) model.PutRecentFileFirst(p);
  EXPECT_EQ(model.RecentFiles(), (Paths{"/r/0", "/r/1", "/r/2", "/r/3"}));
  EXPECT_EQ(notices, std::vector<unsigned>(4, DocumentModel::kRecentFiles));

  model.PutRecentFileFirst("/r/2");  // listed: moves up, those above shift down
  EXPECT_EQ(model.RecentFiles(), (Paths{"/r/2", "/r/0", "/r/1", "/r/3"}));
  EXPECT_EQ(model.FindRecentFile("/R/2"), -1) << "paths compare exactly";
  EXPECT_EQ(model.FindRecentFile("/r/1"), 2);

  for (int i = 0; i < 7; ++i) model.PutRecentFileFirst("/n/" + std::to_string(i));
  ASSERT_EQ(model.RecentFiles().size(), static_cast<std::size_t>(kRecentCount));
  EXPECT_EQ(model.RecentFiles().front(), "/n/6");
  EXPECT_EQ(model.RecentFiles().back(), "/r/1") << "the oldest, /r/3, went";

  model.LetRecentFiles(Paths(12, "/x"));
  EXPECT_EQ(model.RecentFiles().size(), static_cast<std::size_t>(kRecentCount));
  EXPECT_EQ(RecentCaption(3, "/p/a b.gif"), "&3 /p/a b.gif");
}

TEST(DocumentModelTest, DigitsAreHeldWithinTheSpinBoxLimits) {
  DocumentModel model;
  int notices = 0;
  model.Observe([&](unsigned changes) { notices += (changes & DocumentModel::kDigits) ? 1 : 0; });
  EXPECT_EQ(model.NumberFormat(), "00");
  const std::pair<int, const char*> cases[] = {
      {4, "0000"}, {9, "000000"}, {-1, "0"}, {0, "0"}, {6, "000000"}};
  for (const auto& [digits, format] : cases) {
    model.LetDigits(digits);
    EXPECT_EQ(model.NumberFormat(), format) << digits;
    EXPECT_EQ(model.Digits(), static_cast<int>(std::string(format).size())) << digits;
  }
  EXPECT_EQ(notices, 4) << "holding the same value is no change";
}

TEST(DocumentModelTest, ContoursAndTheirEntriesChangeTogether) {
  DocumentModel model;
  unsigned seen = 0;
  model.Observe([&](unsigned changes) { seen |= changes; });
  engine::ContourSet set;
  set.points = {{0, 0}, {1, 1}, {1, -1}, {2, 2}};
  set.count = 2;
  set.titles = {{"00", "Lake", true}, {"x7", "", false}};
  model.TakeContours(set);
  EXPECT_EQ(seen, DocumentModel::kContours);
  EXPECT_EQ(model.TitleEntries(), (Paths{"#00  Lake", "#x7"}));
  EXPECT_EQ(model.Count(), 2);
  model.ResetContours();
  EXPECT_EQ(model.Points(), engine::EmptyContourPoints());
  EXPECT_EQ(model.Count(), 0);
  EXPECT_TRUE(model.TitleEntries().empty());
  model.LetChanged(true);
  EXPECT_TRUE(model.IsChanged());
  EXPECT_EQ(seen, DocumentModel::kContours | DocumentModel::kChangedMark);
}


TEST(DocumentModelTest, ObserversOfNewContoursSeeThePointsTheyReplaced) {
  DocumentModel model;
  std::vector<engine::ContourPoints> before, now;
  model.Observe([&](unsigned changes) {
    if ((changes & DocumentModel::kContours) == 0) return;
    before.push_back(model.PreviousPoints());
    now.push_back(model.Points());
  });
  const engine::ContourPoints first = {{0, 0}, {1, 1}, {2, 1}, {2, 2}};
  const engine::ContourPoints second = {{0, 0}, {5, 5}, {6, 5}, {6, 6}, {0, -1}, {7, 7}};
  engine::ContourSet set;
  set.points = first;
  model.TakeContours(set);
  set.points = second;
  model.TakeContours(set);
  model.ResetContours();
  EXPECT_EQ(before, (std::vector<engine::ContourPoints>{engine::EmptyContourPoints(), first, second}));
  EXPECT_EQ(now, (std::vector<engine::ContourPoints>{first, second, engine::EmptyContourPoints()}));
  // Outside a notice there is nothing before the points.
  EXPECT_EQ(&model.PreviousPoints(), &model.Points());
}

}  // namespace
}  // namespace morvane::document
