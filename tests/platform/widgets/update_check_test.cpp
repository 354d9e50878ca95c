#include "platform/widgets/update_check.h"
#include "tests/support/local_http_server.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTcpServer>

using namespace std::chrono_literals;

namespace morvane::widgets {
namespace {

TEST(UpdateCheckTest, VersionsCompareNumberByNumber) {
  struct Case {
    const char* a;
    const char* b;
    std::optional<int> order;
  };
  const Case cases[] = {
      {"1.10", "1.9", 1},   // numbers, not texts
      {"1.2", "1.2.0", 0},  // a missing part is 0
      {"1.00", "1.0", 0},   // leading zeros
      {"2.0.1", "2.00", 1},
      {"0.9.9", "1.0", -1},
      {"3", "2.99.99", 1},
      {"", "1.0", std::nullopt},
      {"1..2", "1.0", std::nullopt},
      {"1.2a", "1.0", std::nullopt},
      {"-1.0", "1.0", std::nullopt},
      {"1.0 ", "1.0", std::nullopt},
      {"1.0", "1.0000000000", std::nullopt},  // a part too long to be a version
  };
  for (const Case& c : cases) {
    const std::optional<int> order = CompareVersions(QString::fromLatin1(c.a), QString::fromLatin1(c.b));
    ASSERT_EQ(order.has_value(), c.order.has_value()) << c.a << " vs " << c.b;
    if (order) {
      EXPECT_EQ(*order < 0 ? -1 : *order > 0 ? 1 : 0, *c.order) << c.a << " vs " << c.b;
    }
  }
}

TEST(UpdateCheckTest, ManifestIsAJsonObjectWithAVersionText) {
  struct Case {
    const char* text;
    std::optional<QString> version;
  };
  const Case cases[] = {
      {R"({"version": "1.2.0"})", QStringLiteral("1.2.0")},
      {R"({"version":"2.00","notes":"x"})", QStringLiteral("2.00")},
      {"", std::nullopt},
      {"1.2.0", std::nullopt},
      {R"({"version": 1.2})", std::nullopt},
      {R"({"version": "1.2 beta"})", std::nullopt},
      {R"(["1.2"])", std::nullopt},
      {R"({"version": "1.2")", std::nullopt},
      {R"({"newest": "1.2"})", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ManifestVersion(QByteArray(c.text)), c.version) << c.text;
}

struct ServerCase {
  const char* name;
  int status;
  const char* body;
  int delayMs;
  int answer;
  const char* newest;
};

TEST(UpdateCheckTest, AnswersFromALocalServer) {
  const ServerCase cases[] = {
      {"newer", 200, R"({"version": "1.10"})", 0, kUpdateAvailable, "1.10"},
      {"same", 200, R"({"version": "1.2.0"})", 0, kUpToDate, "1.2.0"},
      {"older", 200, R"({"version": "1.1.9"})", 0, kUpToDate, "1.1.9"},
      {"malformed", 200, R"({"version": )", 0, kUpdateUnreachable, ""},
      {"empty", 200, "", 0, kUpdateUnreachable, ""},
      {"not found", 404, R"({"version": "9.0"})", 0, kUpdateUnreachable, ""},
      {"slow past the limit", 200, R"({"version": "9.0"})", 2000, kUpdateUnreachable, ""},
  };
  for (const ServerCase& c : cases) {
    testing::LocalHttpServer server;
    ASSERT_TRUE(server.Listening());
    server.status = c.status;
    server.body = c.body;
    server.delayMs = c.delayMs;
    UpdateCheck check;
    check.Configure(server.Address(), QStringLiteral("/tmp/Morvane.dat"), QStringLiteral("1.2"));
    check.SetTimeLimit(300ms);
    QString newest;
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(check.Check(newest), c.answer) << c.name;
    EXPECT_EQ(newest, QString::fromLatin1(c.newest)) << c.name;
    EXPECT_LT(clock.elapsed(), 1500) << c.name;
    ASSERT_EQ(server.requests.size(), 1) << c.name;
    EXPECT_EQ(server.requests[0], "GET /Products/Morvane/morvane.js HTTP/1.1") << c.name;
  }
}

// Answers larger than a manifest can be are refused.
TEST(UpdateCheckTest, AnAnswerOverTheCapIsRefused) {
  constexpr qint64 kCap = 64 * 1024;
  const QByteArray manifest = R"({"version": "1.10"})";
  struct Case {
    const char* what;
    qint64 padding;
    int answer;
  };
  const Case cases[] = {
      {"a manifest padded to the cap", kCap - manifest.size(), kUpdateAvailable},
      {"one byte over the cap", kCap - manifest.size() + 1, kUpdateUnreachable},
  };
  for (const Case& c : cases) {
    testing::LocalHttpServer server;
    ASSERT_TRUE(server.Listening());
    server.body = manifest + QByteArray(c.padding, ' ');
    UpdateCheck check;
    check.Configure(server.Address(), {}, QStringLiteral("1.2"));
    QString newest;
    EXPECT_EQ(check.Check(newest), c.answer) << c.what;
  }
}

// A gigabyte pushed as fast as it is taken: no more of it is taken in than the cap, as
// the read buffer holds no more, and the refusal does not wait for the time limit.
TEST(UpdateCheckTest, AHugeAnswerIsRefusedWithoutBeingTakenIn) {
  for (const bool declareLength : {true, false}) {
    SCOPED_TRACE(declareLength ? "with its length" : "without a length");
    testing::StreamingHttpServer server(qint64{1} << 30, declareLength);
    ASSERT_TRUE(server.Listening());
    UpdateCheck check;
    check.Configure(server.Address(), {}, QStringLiteral("1.2"));
    check.SetTimeLimit(600s);  // were the size not seen, the check would hang here
    QString newest;
    EXPECT_EQ(check.Check(newest), kUpdateUnreachable);
    // What went out before the check stopped reading: the cap and the system's socket
    // buffers, not the hundreds of megabytes an unbounded read buffer takes in.
    EXPECT_LT(server.Sent(), qint64{32} << 20);
  }
}

TEST(UpdateCheckTest, UnreachableOrUnusableAddressesAnswerMinusOne) {
  // A port that was just free: nobody listens there.
  QTcpServer probe;
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  const quint16 port = probe.serverPort();
  probe.close();
  for (const QString& address :
       {QStringLiteral("http://127.0.0.1:%1/m.js").arg(port), QString(),
        QStringLiteral("not an address"), QStringLiteral("file:///etc/hostname")}) {
    UpdateCheck check;
    check.Configure(address, {}, QStringLiteral("1.0"));
    check.SetTimeLimit(500ms);
    QString newest = QStringLiteral("untouched");
    EXPECT_EQ(check.Check(newest), kUpdateUnreachable) << address.toStdString();
    EXPECT_EQ(newest, QStringLiteral("untouched"));
  }
}

TEST(UpdateCheckTest, ASilentServerIsCutOffAtTheLimit) {
  testing::LocalHttpServer server;
  server.silent = true;
  UpdateCheck check;
  check.Configure(server.Address(), {}, QStringLiteral("1.0"));
  check.SetTimeLimit(250ms);
  QString newest;
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(check.Check(newest), kUpdateUnreachable);
  EXPECT_GE(clock.elapsed(), 200);
  EXPECT_LT(clock.elapsed(), 2000);
}

}  // namespace
}  // namespace morvane::widgets
