#include "controls/vitrane/vitrane_model.h"

#include <gtest/gtest.h>

#include <ostream>

#include "controls/vitrane/vitrane_typelib.h"
#include "tests/controls/vitrane/vitrane_test_support.h"

namespace morvane::vitrane {
namespace {

using testing::Art;
using testing::ArtColor;
using testing::PixelsOf;

struct RegionCase {
  const char* name;
  const char* art;
  char mask;         // the mask colour's character
  const char* kept;  // the characters whose pixels stay
};

void PrintTo(const RegionCase& c, std::ostream* os) { *os << c.name; }

class RegionOfPictureTest : public ::testing::TestWithParam<RegionCase> {};

TEST_P(RegionOfPictureTest, KeepsExactlyThePixelsThatDifferFromTheMaskColour) {
  const RegionCase& c = GetParam();
  const QString art = QString::fromLatin1(c.art);
  const std::optional<QRegion> region = RegionOfPicture(Art(art), ArtColor(QLatin1Char(c.mask)));
  ASSERT_TRUE(region.has_value());
  // Equal to the pixel-by-pixel union, rectangle for rectangle.
  EXPECT_EQ(*region, PixelsOf(art, QString::fromLatin1(c.kept)));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, RegionOfPictureTest,
    ::testing::Values(RegionCase{"RightMostColumnKept", "..RR|...R|R..R", '.', "R"},
                      RegionCase{"RunsSplitByMaskPixels", "RMRMR|MRRRM|RRMRR", 'M', "R"},
                      RegionCase{"EqualRowsShareABand", "MRRM|MRRM|MRRM|RRRR", 'M', "R"},
                      RegionCase{"AllMasked", "MMM|MMM", 'M', ""},
                      RegionCase{"NothingMasked", "RKB|BKR", 'M', "RKB"},
                      RegionCase{"ColourOutsideTheVgaTable", "oRo|Roo|ooR", 'o', "R"},
                      RegionCase{"NeighbourColourStays", "MpM|pMp", 'M', "p"},
                      RegionCase{"SinglePixel", "R", 'R', ""}),
    [](const ::testing::TestParamInfo<RegionCase>& param) { return std::string(param.param.name); });

TEST(RegionOfPicture, NoPictureGivesNoRegion) {
  EXPECT_FALSE(RegionOfPicture(QImage(), qRgb(255, 255, 255)));
}

TEST(RegionOfPicture, AllMaskedIsEmptyButPresent) {
  const std::optional<QRegion> region = RegionOfPicture(Art("MM|MM"), qRgb(255, 0, 255));
  ASSERT_TRUE(region.has_value());
  EXPECT_TRUE(region->isEmpty());
}

TEST(RegionOfPicture, ComparesUnpremultipliedColours) {
  // A half-transparent magenta pixel is still magenta; premultiplied it would not be.
  QImage picture(2, 1, QImage::Format_ARGB32_Premultiplied);
  picture.setPixel(0, 0, qPremultiply(qRgba(255, 0, 255, 128)));
  picture.setPixel(1, 0, qPremultiply(qRgba(255, 0, 0, 128)));
  const std::optional<QRegion> region = RegionOfPicture(picture, qRgb(255, 0, 255));
  ASSERT_TRUE(region.has_value());
  EXPECT_EQ(*region, QRegion(1, 0, 1, 1));
}

TEST(RegionOfPicture, IconsKeepTheirOpaquePixels) {
  QImage icon(3, 1, QImage::Format_ARGB32);
  icon.setPixel(0, 0, qRgba(0, 0, 0, 0));
  icon.setPixel(1, 0, qRgba(255, 255, 255, 255));
  icon.setPixel(2, 0, qRgba(255, 0, 0, 255));
  const std::optional<QRegion> region = RegionOfPicture(MarkedAsIcon(icon), qRgb(255, 255, 255));
  ASSERT_TRUE(region.has_value());
  EXPECT_EQ(*region, QRegion(1, 0, 2, 1));
}

TEST(RegionOfPicture, CoordinatesBeyondSixteenBits) {
  QImage wide(40000, 2, QImage::Format_RGB32);
  wide.fill(qRgb(255, 255, 255));
  wide.setPixel(39999, 1, qRgb(0, 0, 0));
  const std::optional<QRegion> region = RegionOfPicture(wide, qRgb(255, 255, 255));
  ASSERT_TRUE(region.has_value());
  EXPECT_EQ(*region, QRegion(39999, 1, 1, 1));
}

TEST(CornerColor, IsTheTopLeftPixelAsAColourValue) {
  EXPECT_EQ(CornerColor(Art("oR|RR")), 0x0080ffu);  // red in the low byte
  EXPECT_EQ(CornerColor(QImage()), 0u);
}

struct ContrastCase {
  std::int64_t color;
  std::uint32_t expected;
};

void PrintTo(const ContrastCase& c, std::ostream* os) { *os << std::hex << c.color; }

class ContrastColorTest : public ::testing::TestWithParam<ContrastCase> {};

TEST_P(ContrastColorTest, WhiteOverDarkBlackOtherwise) {
  EXPECT_EQ(ContrastColor(GetParam().color), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Colours, ContrastColorTest,
    ::testing::Values(ContrastCase{0x808080, 0xffffff}, ContrastCase{0x818080, 0},
                      ContrastCase{0x808180, 0}, ContrastCase{0x808081, 0}, ContrastCase{0, 0xffffff},
                      ContrastCase{0xffffff, 0}, ContrastCase{0x8000000F, 0},
                      ContrastCase{-2147483633, 0},  // the same system colour, signed
                      ContrastCase{16777215, 0}, ContrastCase{-1, 0}));

// --- Style checks ------------------------------------------------------------------

StyleFacts Form() {
  StyleFacts facts;
  facts.name = QStringLiteral("liAbout");
  return facts;
}

struct StyleCase {
  const char* name;
  StyleFacts facts;
  std::int32_t value;
  StyleOutcome outcome;
  const char* error;
};

void PrintTo(const StyleCase& c, std::ostream* os) { *os << c.name; }

class DecideStyleTest : public ::testing::TestWithParam<StyleCase> {};

TEST_P(DecideStyleTest, ChecksInOrder) {
  const StyleCase& c = GetParam();
  const StyleDecision decision = DecideStyle(c.facts, c.value);
  EXPECT_EQ(decision.outcome, c.outcome);
  EXPECT_EQ(decision.error, QString::fromUtf8(c.error));
}

StyleFacts With(auto change) {
  StyleFacts facts = Form();
  change(facts);
  return facts;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DecideStyleTest,
    ::testing::Values(
        StyleCase{"NoExtender", With([](StyleFacts& f) { f.hasExtender = false; }), VitraneParentTitled,
                  StyleOutcome::StoreNormal, ""},
        StyleCase{"Aligned", With([](StyleFacts& f) {
                    f.aligned = true;
                    f.parentHasBorder = true;
                  }),
                  VitraneParentUntitled, StyleOutcome::StoreNormal, ""},
        StyleCase{"EqualValue", With([](StyleFacts& f) { f.current = VitraneParentTitled; }),
                  VitraneParentTitled, StyleOutcome::Ignore, ""},
        StyleCase{"NoParent", With([](StyleFacts& f) { f.parentHasControls = false; }),
                  ParentCustomTitled, StyleOutcome::Ignore, ""},
        StyleCase{"ParentNotAForm", With([](StyleFacts& f) { f.parentIsForm = false; }),
                  VitraneParentTitled, StyleOutcome::StoreNormal, ""},
        StyleCase{"CustomTitledAtRunTime", Form(), ParentCustomTitled, StyleOutcome::Apply, ""},
        StyleCase{"CustomTitledAtDesignTime", With([](StyleFacts& f) { f.userMode = false; }),
                  ParentCustomTitled, StyleOutcome::Store, ""},
        StyleCase{"ClingingArea", Form(), ParentClingingArea, StyleOutcome::Store, ""},
        StyleCase{"BackToNormal", With([](StyleFacts& f) { f.current = VitraneParentUntitled; }), Normal,
                  StyleOutcome::Store, ""},
        StyleCase{"FramedParent", With([](StyleFacts& f) {
                    f.parentHasBorder = true;
                    f.parentHasControlBox = true;
                  }),
                  VitraneParentUntitled, StyleOutcome::Refuse,
                  "Style property of 'liAbout' can't be set to VitraneParentUntitled at run time when "
                  "the parent "
                  "window has a border."},
        StyleCase{"CloseButton", With([](StyleFacts& f) { f.parentHasControlBox = true; }),
                  VitraneParentUntitled, StyleOutcome::Refuse,
                  "Style property of 'liAbout' can't be set to VitraneParentUntitled when the parent "
                  "window has a "
                  "ControlBox."},
        StyleCase{"FramedParentAtDesignTime", With([](StyleFacts& f) {
                    f.userMode = false;
                    f.parentHasBorder = true;
                  }),
                  VitraneParentUntitled, StyleOutcome::Apply, ""},
        StyleCase{"TitledKeepsTheFrame", With([](StyleFacts& f) { f.parentHasBorder = true; }),
                  VitraneParentTitled, StyleOutcome::Apply, ""},
        StyleCase{"SecondShapedControl",
                  With([](StyleFacts& f) { f.otherShaped = QStringLiteral("liOther"); }),
                  VitraneParentTitled, StyleOutcome::Refuse,
                  "Style property of 'liAbout' can't be set to VitraneParentTitled because of 'liOther' "
                  "already has "
                  "Style set to VitraneParent."},
        StyleCase{"BorderBeforeSecondControl", With([](StyleFacts& f) {
                    f.otherShaped = QStringLiteral("liOther");
                    f.parentHasBorder = true;
                  }),
                  VitraneParentUntitled, StyleOutcome::Refuse,
                  "Style property of 'liAbout' can't be set to VitraneParentUntitled at run time when "
                  "the parent "
                  "window has a border."},
        StyleCase{"MenuAtDesignTime", With([](StyleFacts& f) {
                    f.userMode = false;
                    f.formHasMenu = true;
                  }),
                  VitraneParentTitled, StyleOutcome::MenuConflict, ""},
        StyleCase{"MenuAtRunTime", With([](StyleFacts& f) { f.formHasMenu = true; }),
                  VitraneParentTitled, StyleOutcome::Apply, ""}),
    [](const ::testing::TestParamInfo<StyleCase>& param) { return std::string(param.param.name); });

TEST(StyleTexts, SourceAndMenuText) {
  EXPECT_EQ(ErrorSource(), QStringLiteral("Vitrane.VitraneImage"));
  EXPECT_EQ(
      MenuConflictText(),
      QStringLiteral(
          "When Form has a Menu, set the VitraneImage's Style property\r\nto VitraneParentTitled value "
          "not at design time, but at run time\r\n(f.e., in Form_Load section)."));
}

// --- title drag --------------------------------------------------------------------

struct DragCase {
  const char* name;
  TitleRect area;
  std::int64_t x;
  std::int64_t y;
  bool starts;
};

void PrintTo(const DragCase& c, std::ostream* os) { *os << c.name; }

class StartsTitleDragTest : public ::testing::TestWithParam<DragCase> {};

TEST_P(StartsTitleDragTest, Decides) {
  const DragCase& c = GetParam();
  EXPECT_EQ(StartsTitleDrag(c.area, c.x, c.y), c.starts);
}

INSTANTIATE_TEST_SUITE_P(
    Areas, StartsTitleDragTest,
    ::testing::Values(DragCase{"Inside", {150, 150, 1500, 300}, 600, 300, true},
                      DragCase{"OnTheFarEdge", {150, 150, 1500, 300}, 1650, 450, true},
                      DragCase{"Outside", {150, 150, 1500, 300}, 1665, 300, false},
                      DragCase{"NoAreaAnywhere", {0, 0, 0, 0}, 3000, 3000, true},
                      DragCase{"NoSizeAwayFromCorner", {150, 0, 0, 0}, 3000, 3000, false},
                      DragCase{"WidthOnlyAtCorner", {0, 0, 600, 0}, 300, 0, true},
                      DragCase{"WidthOnlyAwayFromCorner", {15, 0, 600, 0}, 300, 0, false}),
    [](const ::testing::TestParamInfo<DragCase>& param) { return std::string(param.param.name); });

// --- drawn looks -------------------------------------------------------------------

TEST(DrawnLooks, DisabledEmbossesDarkPixels) {
  const QRgb back = qRgb(192, 192, 192);
  const QRgb shadow = qRgb(128, 128, 128);
  const QRgb light = qRgb(255, 255, 255);
  const QImage look = DisabledLook(Art("K..|...|..."), back, shadow, light);
  EXPECT_EQ(look.pixel(0, 0), shadow | 0xff000000u);
  EXPECT_EQ(look.pixel(1, 1), light | 0xff000000u);
  EXPECT_EQ(look.pixel(2, 2), back | 0xff000000u);
}

TEST(DrawnLooks, UnionChequersInTheHighlight) {
  const QRgb mark = qRgb(0, 0, 128);
  const QImage look = UnionLook(Art("RR|RR"), mark);
  EXPECT_EQ(look.pixel(0, 0), mark | 0xff000000u);
  EXPECT_EQ(look.pixel(1, 0), ArtColor(QLatin1Char('R')));
  EXPECT_EQ(look.pixel(0, 1), ArtColor(QLatin1Char('R')));
  EXPECT_EQ(look.pixel(1, 1), mark | 0xff000000u);
}

}  // namespace
}  // namespace morvane::vitrane
