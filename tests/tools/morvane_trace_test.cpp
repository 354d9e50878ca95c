// The command-line driver, run as a program on images written here.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace {

struct Result {
  int exitCode = -1;
  std::string out;
  std::string err;
};

Result RunTool(const QStringList& arguments) {
  QProcess process;
  process.start(QStringLiteral(MORVANE_BINARY_DIR "/bin/morvane-trace"), arguments);
  EXPECT_TRUE(process.waitForFinished(60000));
  return {process.exitCode(), process.readAllStandardOutput().toStdString(),
          process.readAllStandardError().toStdString()};
}

// '#' black, '.' white, 'r' red.
QImage Art(const std::vector<std::string>& rows) {
  QImage image(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const char c = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
      image.setPixel(x, y, c == '#' ? 0xFF000000u : c == 'r' ? 0xFFFF0000u : 0xFFFFFFFFu);
    }
  }
  return image;
}

class MorvaneTraceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(Art({"..........", ".###..###.", ".###..###.", ".###..###.", ".........."})
                    .save(Path("two.png")));
    ASSERT_TRUE(Art({"rrrrrr", "r####r", "r####r", "rrrrrr"}).save(Path("red.bmp")));
    ASSERT_TRUE(Art({"....", "....", "...."}).save(Path("empty.png")));
  }
  QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

  QTemporaryDir dir;
};

const QRegularExpression kSummary(QStringLiteral("^contours (\\d+), points (\\d+), \\d+ ms\\n$"));

void ExpectSummary(const Result& r, int contours, int points) {
  const auto match = kSummary.match(QString::fromStdString(r.err));
  ASSERT_TRUE(match.hasMatch()) << r.err;
  EXPECT_EQ(match.captured(1).toInt(), contours);
  EXPECT_EQ(match.captured(2).toInt(), points);
}

TEST_F(MorvaneTraceTest, CreateTracesEveryFigure) {
  const Result r = RunTool({"create", Path("two.png"), "--method", "1"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "1,1,1,3,3,3,3,1,2,1\n6,1,6,3,8,3,8,1,7,1\n");
  ExpectSummary(r, 2, 10);
}

TEST_F(MorvaneTraceTest, CreateConnectedGivesOneLine) {
  const Result r = RunTool({"create", Path("two.png"), "--connected", "--method", "1"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "3,3,3,1,1,1,1,3,8,3,8,1,6,1,6,3\n");
  ExpectSummary(r, 1, 8);
}

TEST_F(MorvaneTraceTest, AddTracesOneContourPerClick) {
  const Result r = RunTool({"add", Path("two.png"), "--at", "1,1", "--at", "1,2", "--at", "6,1"});
  EXPECT_EQ(r.exitCode, 0);
  // The second click finds the first figure again and adds nothing.
  EXPECT_EQ(r.out, "1,1,1,3,3,3,3,1\n6,1,6,3,8,3,8,1\n");
  ExpectSummary(r, 2, 8);
}

TEST_F(MorvaneTraceTest, BackgroundOption) {
  const Result r = RunTool({"create", Path("red.bmp"), "--background", "FF0000"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "1,2,4,2,4,1,2,1\n");
  // On the default white background the whole picture is one figure.
  const Result white = RunTool({"create", Path("red.bmp")});
  EXPECT_EQ(white.exitCode, 0);
  ExpectSummary(white, 1, 5);
}

TEST_F(MorvaneTraceTest, NoFigureExitsWithOne) {
  const Result create = RunTool({"create", Path("empty.png")});
  EXPECT_EQ(create.exitCode, 1);
  EXPECT_EQ(create.out, "");
  ExpectSummary(create, 0, 0);
  const Result add = RunTool({"add", Path("two.png"), "--at", "0,4"});
  EXPECT_EQ(add.exitCode, 1);
  ExpectSummary(add, 0, 0);
}

TEST_F(MorvaneTraceTest, BadInputExitsWithTwoAndSaysWhy) {
  // A path under a regular file cannot exist.
  const QString missing = Path("two.png") + "/nothing.png";
  QFile garbage(Path("garbage.png"));
  ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
  garbage.write("not a picture");
  garbage.close();
  struct Case {
    const char* what;
    QStringList arguments;
    const char* says;
  };
  const Case cases[] = {
      {"no command", {}, "missing command"},
      {"unknown command", {"trace", Path("two.png")}, "unknown command"},
      {"no image", {"create"}, "missing image"},
      {"two images", {"create", Path("two.png"), Path("two.png")}, "more than one image"},
      {"unknown option", {"create", Path("two.png"), "--fast"}, "unknown option"},
      {"method out of range", {"create", Path("two.png"), "--method", "4"}, "--method"},
      {"method missing", {"create", Path("two.png"), "--method"}, "--method"},
      {"bad colour", {"create", Path("two.png"), "--background", "white"}, "--background"},
      {"short colour", {"create", Path("two.png"), "--background", "FFF"}, "--background"},
      {"add without a click", {"add", Path("two.png")}, "--at"},
      {"bad click", {"add", Path("two.png"), "--at", "3;4"}, "--at"},
      {"click on create", {"create", Path("two.png"), "--at", "1,1"}, "--at"},
      {"missing image file", {"create", missing}, "cannot read image"},
      {"not an image", {"create", Path("garbage.png")}, "cannot read image"},
  };
  for (const Case& c : cases) {
    const Result r = RunTool(c.arguments);
    EXPECT_EQ(r.exitCode, 2) << c.what;
    EXPECT_EQ(r.out, "") << c.what;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.what << ": " << r.err;
  }
}

}  // namespace
