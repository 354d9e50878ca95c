// The command-line driver, run as a program on images written here.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "tests/support/picture_files.h"
#include "tests/support/picture_rows.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <string>
#include <string_view>
#include <vector>

namespace {

using morvane::testing::PictureRows;

struct Result {
  int exitCode = -1;
  std::string out;
  std::string err;
};

Result RunTool(const QStringList& arguments, const QString& folder = QString()) {
  QProcess process;
  if (!folder.isEmpty()) process.setWorkingDirectory(folder);
  process.start(QStringLiteral(MORVANE_BINARY_DIR "/bin/morvane-trace"), arguments);
  EXPECT_TRUE(process.waitForFinished(60000));
  return {process.exitCode(), process.readAllStandardOutput().toStdString(),
          process.readAllStandardError().toStdString()};
}

// '#' black, '.' white, 'r' red.
QImage Art(std::string_view picture) {
  const std::vector<std::string> rows = PictureRows(picture);
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
    ASSERT_TRUE(Art(R"(
..........
.###..###.
.###..###.
.###..###.
..........
)")
                    .save(Path("two.png")));
    ASSERT_TRUE(Art(R"(
rrrrrr
r####r
r####r
rrrrrr
)")
                    .save(Path("red.bmp")));
    ASSERT_TRUE(Art(R"(
....
....
....
)")
                    .save(Path("empty.png")));
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

// The note on why nothing was found comes first; the summary stays the last line.
Result WithoutNote(Result r, const std::string& note) {
  EXPECT_EQ(r.err.rfind(note, 0), 0u) << r.err;
  if (r.err.rfind(note, 0) == 0) r.err.erase(0, note.size());
  return r;
}

TEST_F(MorvaneTraceTest, NoFigureExitsWithOne) {
  const Result create = WithoutNote(RunTool({"create", Path("empty.png")}),
                                    "morvane-trace: nothing found: every pixel counts as background "
                                    "FFFFFF under the 16-colour rule (see --help)\n");
  EXPECT_EQ(create.exitCode, 1);
  EXPECT_EQ(create.out, "");
  ExpectSummary(create, 0, 0);
  const Result add = WithoutNote(RunTool({"add", Path("two.png"), "--at", "0,4"}),
                                 "morvane-trace: nothing found: each pixel given counts as background "
                                 "FFFFFF under the 16-colour rule (see --help)\n");
  EXPECT_EQ(add.exitCode, 1);
  ExpectSummary(add, 0, 0);
}

TEST_F(MorvaneTraceTest, HelpShowsEveryOptionAndTheExitCodes) {
  for (const QStringList& arguments :
       {QStringList{"--help"}, QStringList{"-h"}, QStringList{"create", "x.png", "-h"}}) {
    const Result r = RunTool(arguments);
    EXPECT_EQ(r.exitCode, 0) << arguments.join(' ').toStdString();
    EXPECT_EQ(r.err, "");
    for (const char* text :
         {"usage:", "--background", "--method", "--connected", "--at", "--output", "--digits",
          "--centroid", "--separate", "--report", "--stop-on-error", "16-colour rule",
          "exit codes:", "  3  a map or report could not be written"}) {
      EXPECT_NE(r.out.find(text), std::string::npos) << text;
    }
  }
}

TEST_F(MorvaneTraceTest, BackgroundTakesAHashToo) {
  const Result plain = RunTool({"create", Path("red.bmp"), "--background", "FF0000"});
  const Result hash = RunTool({"create", Path("red.bmp"), "--background", "#FF0000"});
  EXPECT_EQ(hash.exitCode, 0);
  EXPECT_EQ(hash.out, plain.out);
  EXPECT_EQ(RunTool({"create", Path("red.bmp"), "--background", "#FF00"}).exitCode, 2);
}

TEST_F(MorvaneTraceTest, ClicksAndFilesThatAreNoImageSayWhy) {
  const std::string folder = dir.path().toStdString();
  ASSERT_EQ(::mkfifo((folder + "/pipe.png").c_str(), 0600), 0);
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.png"));
  struct Case {
    const char* what;
    QStringList arguments;
    const char* says;
  };
  const Case cases[] = {
      {"a click right of the image",
       {"add", Path("two.png"), "--at", "10,0"},
       "lies outside the image, which is 10 x 5 pixels"},
      {"a click below the image", {"add", Path("two.png"), "--at", "0,5"}, "10 x 5 pixels"},
      {"a click left of the image", {"add", Path("two.png"), "--at", "-1,2"}, "10 x 5 pixels"},
      {"the largest X", {"add", Path("two.png"), "--at", "2147483647,1"}, "10 x 5 pixels"},
      {"a folder", {"create", Path("folder.png")}, "it is a folder, not a file"},
      {"a pipe", {"create", Path("pipe.png")}, "it is not a regular file"},
  };
  for (const Case& c : cases) {
    const Result r = RunTool(c.arguments);
    EXPECT_EQ(r.exitCode, 2) << c.what;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.what << ": " << r.err;
    EXPECT_EQ(r.err.find("does not exist"), std::string::npos) << c.what << ": " << r.err;
  }
  const Result batch =
      RunTool({"batch", "--report", Path("all.txt"), Path("folder.png"), Path("two.png")});
  EXPECT_EQ(batch.exitCode, 1);
  EXPECT_NE(batch.err.find("is a folder, not an image: skipped"), std::string::npos) << batch.err;
}

TEST_F(MorvaneTraceTest, BatchWhoseMapsCannotBeWrittenExitsWithThree) {
  const Result written = RunTool({"batch", "--separate", Path("two.png"), Path("red.bmp")});
  EXPECT_EQ(written.exitCode, 0) << written.err;
  EXPECT_EQ(written.err, "2 images processed.\n2 maps written.\n");
  // A folder where one map belongs: that map cannot be written, the other is.
  ASSERT_TRUE(QFile::remove(Path("two.htm")));
  ASSERT_TRUE(QDir(dir.path()).mkdir("two.htm"));
  const Result failed = RunTool({"batch", "--separate", Path("two.png"), Path("red.bmp")});
  EXPECT_EQ(failed.exitCode, 3);
  EXPECT_NE(failed.err.find("is not a regular file"), std::string::npos) << failed.err;
  EXPECT_NE(failed.err.find("2 images processed.\n1 maps written.\n"), std::string::npos) << failed.err;
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

std::string ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return "<missing>";
  return file.readAll().toStdString();
}

TEST_F(MorvaneTraceTest, CreateAndAddWriteTheMap) {
  const std::string src = Path("two.png").toStdString();
  const std::string header =
      "<html><body><img src='" + src + "' border=0 usemap='#two.png'><map name='two.png'>\r\n\r\n";
  const Result r = RunTool({"create", Path("two.png"), "--method", "1", "--output", Path("two.htm"),
                            "--digits", "3", "--centroid"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "1,1,1,3,3,3,3,1,2,1\n6,1,6,3,8,3,8,1,7,1\n");  // as without the map
  ExpectSummary(r, 2, 10);
  EXPECT_EQ(
      ReadFile(Path("two.htm")),
      header +
          "<area href='#000' alt='' centroid='002,001' shape='polygon' coords='1,1,1,3,3,3,3,1,2,1'>\r\n"
          "<area href='#001' alt='' centroid='007,001' shape='polygon' coords='6,1,6,3,8,3,8,1,7,1'>\r\n"
          "\r\n</map></body></html>\r\n");

  const Result add = RunTool({"add", Path("two.png"), "--at", "6,1", "--output", Path("one.htm")});
  EXPECT_EQ(add.exitCode, 0) << add.err;
  EXPECT_EQ(ReadFile(Path("one.htm")), header.substr(0, header.find("two.png'>")) +
                                           "two.png'><map name='two.png'>\r\n\r\n"
                                           "<area href='#00' alt='' shape='polygon' "
                                           "coords='6,1,6,3,8,3,8,1'>\r\n\r\n</map></body></html>\r\n");

  // A map that cannot be written: the contours are still printed, the exit says so.
  const Result blocked = RunTool({"create", Path("two.png"), "--output", Path("two.png") + "/x.htm"});
  EXPECT_EQ(blocked.exitCode, 3);
  EXPECT_NE(blocked.err.find("could not be saved"), std::string::npos) << blocked.err;
  EXPECT_FALSE(blocked.out.empty());
}

TEST_F(MorvaneTraceTest, ReadShowsEachAreasLinkAndTitle) {
  struct Case {
    const char* what;
    const char* href;
    const char* entry;
  };
  const Case cases[] = {
      {"its number", "#01", "#01  Kitchen"},
      {"a relative link", "contact.html", "contact.html  Kitchen"},
      {"an absolute address", "https://example.org/a?b=1&amp;c=2",
       "https://example.org/a?b=1&c=2  Kitchen"},
      {"a link with blanks", "my room.html", "my room.html  Kitchen"},
      {"a link with two blanks", "a  b", "a  b  Kitchen"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QFile page(Path("links.htm"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write(
        "<img src='two.png' usemap='#m'><map name='m'>\n"
        "<area href='#00' alt='Yard' shape='polygon' coords='1,1,3,1,3,3'>\n"
        "<area href=\"" +
        QByteArray(c.href) + "\" alt='Kitchen' shape='polygon' coords='6,1,8,1,8,3'>\n</map>\n");
    page.close();
    const Result r = RunTool({"read", Path("links.htm")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "1,1,3,1,3,3\n6,1,8,1,8,3\n#00  Yard\n" + std::string(c.entry) + "\n");
  }
}

// One area of a written map.
struct Area {
  std::string href;
  std::vector<std::pair<long, long>> points;
};

std::vector<Area> AreasOf(const std::string& map) {
  std::vector<Area> areas;
  const QRegularExpression line(QStringLiteral("<area href='([^']*)'[^>]* coords='([^']*)'>"));
  for (auto it = line.globalMatch(QString::fromStdString(map)); it.hasNext();) {
    const auto match = it.next();
    Area area{match.captured(1).toStdString(), {}};
    const QStringList numbers = match.captured(2).split(',');
    for (qsizetype k = 0; k + 1 < numbers.size(); k += 2)
      area.points.emplace_back(numbers[k].toLong(), numbers[k + 1].toLong());
    areas.push_back(area);
  }
  return areas;
}

// Even-odd, as a browser tests a click against a polygon area.
bool Holds(const Area& area, long x, long y) {
  bool inside = false;
  const auto& p = area.points;
  for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
    const auto [xi, yi] = p[i];
    const auto [xj, yj] = p[j];
    if ((yi > y) != (yj > y) && x < xj + static_cast<double>(y - yj) * (xi - xj) / (yi - yj))
      inside = !inside;
  }
  return inside;
}

// The area a browser takes for a click: the first that holds it; "" for none.
std::string Hit(const std::vector<Area>& areas, long x, long y) {
  for (const Area& area : areas) {
    if (Holds(area, x, y)) return area.href;
  }
  return "";
}

TEST_F(MorvaneTraceTest, EveryAreaOfAWrittenMapCanBeClicked) {
  // Walls: a black frame of 60 x 40 at 10,10 with two white rooms. A ring: black
  // between the radii 8 and 15 around 20,20.
  QImage walls(80, 60, QImage::Format_RGB32);
  walls.fill(Qt::white);
  for (int y = 10; y < 50; ++y) {
    for (int x = 10; x < 70; ++x) {
      const bool room = y >= 14 && y <= 45 && ((x >= 14 && x <= 35) || (x >= 42 && x <= 65));
      if (!room) walls.setPixel(x, y, 0xFF000000u);
    }
  }
  ASSERT_TRUE(walls.save(Path("walls.png")));
  QImage ring(40, 40, QImage::Format_RGB32);
  ring.fill(Qt::white);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) {
      const int d = (x - 20) * (x - 20) + (y - 20) * (y - 20);
      if (d >= 64 && d <= 225) ring.setPixel(x, y, 0xFF000000u);
    }
  }
  ASSERT_TRUE(ring.save(Path("ring.png")));

  struct Click {
    const char* what;
    long x, y;
    const char* hits;  // the area's href: contours are numbered as traced
  };
  struct Case {
    const char* image;
    std::vector<Click> clicks;
  };
  const Case cases[] = {
      {"walls.png",
       {{"the left room", 24, 30, "#01"},
        {"the right room", 53, 30, "#02"},
        {"the left wall", 11, 30, "#00"},
        {"the wall between the rooms", 38, 30, "#00"},
        {"the top wall", 40, 11, "#00"},
        {"outside", 5, 5, ""}}},
      {"ring.png",
       {{"the hole's middle", 20, 20, "#01"},
        {"the hole near its edge", 20, 14, "#01"},
        {"the ring's body", 20, 31, "#00"},
        {"the ring's body on the left", 9, 20, "#00"},
        {"outside", 1, 1, ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.image);
    const Result created = RunTool({"create", Path(c.image), "--output", Path("map.htm")});
    ASSERT_EQ(created.exitCode, 0) << created.err;
    const std::vector<Area> areas = AreasOf(ReadFile(Path("map.htm")));
    ASSERT_FALSE(areas.empty());
    for (const Click& click : c.clicks)
      EXPECT_EQ(Hit(areas, click.x, click.y), click.hits) << click.what;
    // Read back, the map gives the contours as they were traced, in their order.
    const Result read = RunTool({"read", Path("map.htm")});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    std::string titles;
    for (std::size_t k = 0; k < areas.size(); ++k) titles += "#0" + std::to_string(k) + "  \n";
    EXPECT_EQ(read.out, created.out + titles);
  }
}

// True when the process is gone (or only waits to be reaped).
bool ProcessGone(pid_t pid) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return true;
  const QByteArray text = stat.readAll();
  const qsizetype close = text.lastIndexOf(')');
  return close >= 0 && close + 2 < text.size() && text[close + 2] == 'Z';
}

// Killed during a conversion, the tool takes its converter with it; its temporary
// folder, with the copy of the picture, goes at the next start.
TEST_F(MorvaneTraceTest, AConverterDiesWithAKilledToolAndItsFolderGoesNextTime) {
  QDir(dir.path()).mkdir(QStringLiteral("bin"));
  QDir(dir.path()).mkdir(QStringLiteral("tmp"));
  const QString pidFile = Path("converter.pid");
  // The WMF converter, slow: it says who it is and waits.
  QFile converter(Path("bin/wmf2svg"));
  ASSERT_TRUE(converter.open(QIODevice::WriteOnly));
  converter.write(("#!/bin/sh\necho $$ > '" + pidFile + "'\nexec sleep 600\n").toUtf8());
  converter.close();
  QFile::setPermissions(Path("bin/wmf2svg"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  ASSERT_TRUE(morvane::testing::WriteFile(
      Path("shapes.wmf"),
      morvane::testing::MakeWmf(20, 10, {{0x000000FF, {QPoint(2, 2), QPoint(8, 6)}}})));
  // Folders that are not a dead run's: this test's own process still runs, and a name
  // without a process id is no conversion folder.
  QDir(Path("tmp")).mkpath(QStringLiteral("morvane-convert-%1-live").arg(::getpid()));
  QDir(Path("tmp")).mkpath(QStringLiteral("morvane-convert-other"));

  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("PATH"),
                     Path("bin") + ":" + environment.value(QStringLiteral("PATH")));
  environment.insert(QStringLiteral("TMPDIR"), Path("tmp"));
  QProcess tool;
  tool.setProcessEnvironment(environment);
  tool.start(QStringLiteral(MORVANE_BINARY_DIR "/bin/morvane-trace"), {"create", Path("shapes.wmf")});
  ASSERT_TRUE(tool.waitForStarted());
  pid_t converterPid = 0;
  for (int i = 0; i < 2000 && converterPid == 0; ++i) {
    QFile pid(pidFile);
    if (pid.open(QIODevice::ReadOnly))
      converterPid = static_cast<pid_t>(pid.readAll().trimmed().toInt());
    if (converterPid == 0) ::usleep(10000);
  }
  ASSERT_GT(converterPid, 0) << "the converter did not start";
  const QStringList during =
      QDir(Path("tmp"))
          .entryList({QStringLiteral("morvane-convert-%1-*").arg(tool.processId())}, QDir::Dirs);
  ASSERT_EQ(during.size(), 1) << "no conversion folder named after the tool";

  tool.kill();
  ASSERT_TRUE(tool.waitForFinished());
  for (int i = 0; i < 500 && !ProcessGone(converterPid); ++i) ::usleep(10000);
  const bool gone = ProcessGone(converterPid);
  if (!gone) ::kill(converterPid, SIGKILL);  // not left behind by the test either
  EXPECT_TRUE(gone) << "the converter outlived the killed tool";
  EXPECT_TRUE(QDir(Path("tmp/") + during[0]).exists()) << "a killed tool cannot clear its folder";

  // The next start clears what the dead run left, and only that.
  QProcess next;
  next.setProcessEnvironment(environment);
  next.start(QStringLiteral(MORVANE_BINARY_DIR "/bin/morvane-trace"), {"create", Path("two.png")});
  ASSERT_TRUE(next.waitForFinished(60000));
  EXPECT_EQ(next.exitCode(), 0);
  EXPECT_FALSE(QDir(Path("tmp/") + during[0]).exists()) << "the stale folder stayed";
  EXPECT_TRUE(QDir(Path("tmp")).exists(QStringLiteral("morvane-convert-%1-live").arg(::getpid())));
  EXPECT_TRUE(QDir(Path("tmp")).exists(QStringLiteral("morvane-convert-other")));
}

TEST_F(MorvaneTraceTest, AMapIsNeverWrittenOverAPicture) {
  const QImage plan = Art(R"(
....
.##.
....
)");
  ASSERT_TRUE(plan.save(Path("plan.jpg"), "JPEG"));
  ASSERT_TRUE(plan.save(Path("plan.bmp"), "BMP"));
  for (const char* name : {"two.png", "plan.jpg", "plan.bmp", "red.bmp"}) {
    SCOPED_TRACE(name);
    const std::string before = ReadFile(Path(name));
    const Result r = RunTool({"create", Path("two.png"), "--output", Path(name)});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("The map was not saved: \"" + Path(name).toStdString() +
                         "\" holds a picture, which a map never replaces."),
              std::string::npos)
        << r.err;
    EXPECT_EQ(ReadFile(Path(name)), before);
    EXPECT_FALSE(r.out.empty());  // the contours are still printed
  }
}

TEST_F(MorvaneTraceTest, AMapThatCannotBeReadSaysWhy) {
  const std::string folder = dir.path().toStdString();
  ASSERT_EQ(::mkfifo((folder + "/pipe.htm").c_str(), 0600), 0);
  QFile locked(Path("locked.htm"));
  ASSERT_TRUE(locked.open(QIODevice::WriteOnly));
  locked.write("<img src='two.png' usemap='#m'><map name='m'></map>");
  locked.close();
  ASSERT_EQ(::chmod(Path("locked.htm").toLocal8Bit().constData(), 0), 0);
  struct Case {
    const char* what;
    const char* map;
    std::string says;
  };
  const Case cases[] = {
      {"a pipe", "pipe.htm", "it is not a regular file"},
      {"a file that may not be read", "locked.htm", std::strerror(EACCES)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.map == std::string("locked.htm") && ::geteuid() == 0) continue;  // root reads it anyway
    const Result r = RunTool({"read", Path(c.map)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Cannot read the map \"" + Path(c.map).toStdString() + "\": " + c.says + "."),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find("holds no image map"), std::string::npos) << r.err;
  }
}

TEST_F(MorvaneTraceTest, ReadPrintsTheCopyTextAndTheTitles) {
  ASSERT_EQ(RunTool({"create", Path("two.png"), "--method", "1", "--output", Path("two.htm")}).exitCode,
            0);
  const Result r = RunTool({"read", Path("two.htm")});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "1,1,1,3,3,3,3,1,2,1\n6,1,6,3,8,3,8,1,7,1\n#00  \n#01  \n");
  EXPECT_EQ(r.err, "contours 2, points 10\n");

  QFile page(Path("titled.htm"));
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.write(
      "<img src='two.png' usemap='#m'><map name='m'>\n"
      "<area href='#7' alt='Tom&#39;s &lt;bay&gt;' shape='polygon' coords='1,2,3,4'>\n</map>\n");
  page.close();
  const Result titled = RunTool({"read", Path("titled.htm")});
  EXPECT_EQ(titled.exitCode, 0) << titled.err;
  EXPECT_EQ(titled.out, "1,2,3,4\n#7  Tom's <bay>\n");

  QFile orphan(Path("orphan.htm"));
  ASSERT_TRUE(orphan.open(QIODevice::WriteOnly));
  orphan.write("<img src='gone.png' usemap='#m'><map name='m'><area shape=polygon coords=1,1></map>");
  orphan.close();
  const Result none = RunTool({"read", Path("orphan.htm")});
  EXPECT_EQ(none.exitCode, 1);  // the map's image is missing: nothing is read
  EXPECT_EQ(none.out, "");
  EXPECT_NE(none.err.find("the map's image '" + Path("gone.png").toStdString() + "' does not exist"),
            std::string::npos)
      << none.err;

  QFile page2(Path("page.htm"));
  ASSERT_TRUE(page2.open(QIODevice::WriteOnly));
  page2.write("<html><body><p>no map here</p></body></html>");
  page2.close();
  const Result plain = RunTool({"read", Path("page.htm")});
  EXPECT_EQ(plain.exitCode, 1);
  EXPECT_EQ(plain.out, "");
  EXPECT_NE(plain.err.find("holds no image map"), std::string::npos) << plain.err;
}

TEST_F(MorvaneTraceTest, BatchWritesAReportOrAMapPerImage) {
  const Result report = RunTool(
      {"batch", "--method", "1", "--report", Path("all.txt"), Path("two.png"), Path("empty.png")});
  EXPECT_EQ(report.exitCode, 0) << report.err;
  EXPECT_EQ(report.err, "2 images processed.\n");
  EXPECT_EQ(ReadFile(Path("all.txt")),
            "two.png   1,1,1,3,3,3,3,1,2,1\r\n6,1,6,3,8,3,8,1,7,1\r\n"
            "empty.png \r\n");

  const Result missing =
      RunTool({"batch", "--report", Path("all.txt"), Path("two.png"), Path("gone.png")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.err, "morvane-trace: no image '" + Path("gone.png").toStdString() +
                             "': skipped\n1 images processed.\n");

  const Result separate =
      RunTool({"batch", "--separate", "--digits", "1", Path("two.png"), Path("red.bmp")});
  EXPECT_EQ(separate.exitCode, 0) << separate.err;
  EXPECT_NE(ReadFile(Path("two.htm")).find("<area href='#1' alt='' shape='polygon'"), std::string::npos);
  EXPECT_NE(ReadFile(Path("red.htm")).find("<area href='#0'"), std::string::npos);

  // Stop on Error keeps a map that this program did not write.
  QFile foreign(Path("two.htm"));
  ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
  foreign.write("<p>mine</p>");
  foreign.close();
  const Result kept = RunTool({"batch", "--separate", "--stop-on-error", Path("two.png")});
  EXPECT_EQ(kept.exitCode, 1);
  EXPECT_EQ(ReadFile(Path("two.htm")), "<p>mine</p>");
  EXPECT_NE(kept.err.find("Are you sure you want to overwrite? No."), std::string::npos) << kept.err;
}

// Paths given relative to the working folder: the map names the image by its full
// path, so it reads back (and shows in a browser) from wherever the map lies.
TEST_F(MorvaneTraceTest, RelativePathsMakeMapsThatFindTheirImage) {
  ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("pics/maps")));
  ASSERT_TRUE(QFile::copy(Path("two.png"), Path("pics/two.png")));
  const Result created =
      RunTool({"create", "pics/two.png", "--method", "1", "--output", "pics/maps/two.htm"}, dir.path());
  ASSERT_EQ(created.exitCode, 0) << created.err;
  const std::string full =
      QDir(dir.path()).absoluteFilePath(QStringLiteral("pics/two.png")).toStdString();
  EXPECT_EQ(ReadFile(Path("pics/maps/two.htm")).rfind("<html><body><img src='" + full + "' ", 0), 0u)
      << ReadFile(Path("pics/maps/two.htm"));
  const Result read = RunTool({"read", "maps/two.htm"}, Path("pics"));
  EXPECT_EQ(read.exitCode, 0) << read.err;
  EXPECT_EQ(read.out, "1,1,1,3,3,3,3,1,2,1\n6,1,6,3,8,3,8,1,7,1\n#00  \n#01  \n");

  const Result batch = RunTool({"batch", "--separate", "--method", "1", "two.png"}, Path("pics"));
  ASSERT_EQ(batch.exitCode, 0) << batch.err;
  EXPECT_EQ(ReadFile(Path("pics/two.htm")).rfind("<html><body><img src='" + full + "' ", 0), 0u);
}

// A map of many areas reads back whole, and in a moment.
TEST_F(MorvaneTraceTest, ReadsAMapOfManyAreas) {
  QFile page(Path("many.htm"));
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.write("<img src='two.png' usemap='#m'><map name='m'>\r\n");
  for (int i = 0; i < 100000; ++i) page.write("<area href='#1' shape='polygon' coords='1,2,3,4'>\r\n");
  page.write("</map>\r\n");
  page.close();
  const Result r = RunTool({"read", Path("many.htm")});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err, "contours 100000, points 200000\n");
  std::string lines;
  for (int i = 0; i < 100000; ++i) lines += "1,2,3,4\n";
  for (int i = 0; i < 100000; ++i) lines += "#1  \n";
  EXPECT_EQ(r.out, lines);
}

TEST_F(MorvaneTraceTest, TheSampleImageMakesAMap) {
  const QString sample = QStringLiteral(MORVANE_SOURCE_DIR "/samples/shapes.gif");
  const Result r = RunTool({"create", sample, "--output", Path("shapes.htm")});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const std::string map = ReadFile(Path("shapes.htm"));
  std::size_t areas = 0;
  for (std::size_t at = map.find("<area "); at != std::string::npos; at = map.find("<area ", at + 1))
    ++areas;
  EXPECT_EQ(areas, 5u);  // four figures and the ring's hole
}

TEST_F(MorvaneTraceTest, NewOptionsSayWhatIsWrong) {
  struct Case {
    const char* what;
    QStringList arguments;
    const char* says;
  };
  const Case cases[] = {
      {"digits without output", {"create", Path("two.png"), "--digits", "2"}, "--output"},
      {"digits out of range",
       {"create", Path("two.png"), "--output", Path("x.htm"), "--digits", "7"},
       "--digits"},
      {"output without a file", {"create", Path("two.png"), "--output"}, "--output"},
      {"read without a map", {"read"}, "missing map"},
      {"read of no file", {"read", Path("none.htm")}, "cannot read map"},
      {"read with an option", {"read", Path("two.png"), "--centroid"}, "read takes no option"},
      {"batch without a mode", {"batch", Path("two.png")}, "--separate or --report"},
      {"batch with both modes",
       {"batch", "--separate", "--report", Path("r.txt"), Path("two.png")},
       "--separate or --report"},
      {"batch without images", {"batch", "--separate"}, "missing image"},
      {"output on batch",
       {"batch", "--separate", "--output", Path("x.htm"), Path("two.png")},
       "unknown option"},
  };
  for (const Case& c : cases) {
    const Result r = RunTool(c.arguments);
    EXPECT_EQ(r.exitCode, 2) << c.what;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.what << ": " << r.err;
  }
}

}  // namespace
