#include <gtest/gtest.h>

#include <QString>
#include <QVariant>

#include <cstdint>
#include <limits>
#include <vector>

#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/automation/dispatch.h"
#include "platform/widgets/automation/events.h"
#include "platform/widgets/automation/variant_args.h"

namespace morvane::automation {
namespace {

// A control with one property of each kind and a method with a by-reference argument.
struct Gadget : Dispatch {
  int value = 0;
  QString picture;
  std::vector<QString> log;

  static const MemberTable<Gadget>& Table();
  QVariant invoke(DispId id, Invoke kind, QVariantList& args) override {
    return Table().invoke(*this, id, kind, args);
  }
  std::optional<DispId> idOfName(QStringView name) const override { return Table().idOfName(name); }
};

const MemberTable<Gadget>& Gadget::Table() {
  static const MemberTable<Gadget> table{
      {7, "Value", [](Gadget& g, QVariantList&) -> QVariant { return g.value; },
       [](Gadget& g, QVariantList& a) { g.value = ToInt16(Arg(a, 0)); }},
      {0, "Picture", [](Gadget& g, QVariantList&) -> QVariant { return g.picture; },
       [](Gadget& g, QVariantList& a) { g.picture = "let " + ToText(Arg(a, 0)); },
       [](Gadget& g, QVariantList& a) { g.picture = "set " + ToText(Arg(a, 0)); }},
      {-600, "Twice", nullptr, nullptr, nullptr,
       [](Gadget&, QVariantList& a) -> QVariant {
         a[0] = ToInt32(Arg(a, 0)) * 2;  // by reference: the caller sees the change
         return true;
       }},
  };
  return table;
}

TEST(Dispatch, EachKindReachesItsMemberAndOthersRaise438) {
  struct Case {
    DispId id;
    Invoke kind;
    QVariantList args;
    int error;  // 0 for success
    QVariant result;
    QVariantList argsAfter;
  };
  const std::vector<Case> cases = {
      {7, Invoke::Put, {QVariant(12)}, 0, {}, {12}},
      {7, Invoke::Get, {}, 0, 12, {}},
      {7, Invoke::Call, {}, 0, 12, {}},  // a read written as a call
      {7, Invoke::PutRef, {QVariant(1)}, kErrNoSuchMember, {}, {}},
      {0, Invoke::Put, {QVariant("a")}, 0, {}, {"a"}},
      {0, Invoke::PutRef, {QVariant("b")}, 0, {}, {"b"}},
      {-600, Invoke::Call, {QVariant(21)}, 0, true, {42}},
      {-600, Invoke::Get, {}, kErrNoSuchMember, {}, {}},
      {-600, Invoke::Put, {QVariant(1)}, kErrNoSuchMember, {}, {}},
      {99, Invoke::Get, {}, kErrNoSuchMember, {}, {}},
      {7, Invoke::Put, {QVariant(40000)}, kErrOverflow, {}, {}},
      {7, Invoke::Put, {}, kErrArgumentNotOptional, {}, {}},
  };
  Gadget gadget;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "id " << c.id << " kind " << static_cast<int>(c.kind));
    QVariantList args = c.args;
    if (c.error != 0) {
      try {
        gadget.invoke(c.id, c.kind, args);
        ADD_FAILURE() << "no error";
      } catch (const AutomationError& e) {
        EXPECT_EQ(e.number(), c.error);
      }
      continue;
    }
    EXPECT_EQ(gadget.invoke(c.id, c.kind, args), c.result);
    EXPECT_EQ(args, c.argsAfter);
  }
  EXPECT_EQ(gadget.picture, "set b");
  EXPECT_EQ(gadget.idOfName(u"value"), 7);
  EXPECT_FALSE(gadget.idOfName(u"Nothing").has_value());
}

TEST(VariantArgs, ConversionsFollowTheRuntimeRules) {
  struct Case {
    QVariant in;
    int error16;  // 0, 6 or 13
    std::int16_t as16;
  };
  const std::vector<Case> cases = {
      {QVariant(12), 0, 12},
      {QVariant(QStringLiteral(" 12 ")), 0, 12},
      {QVariant(2.5), 0, 2},  // halves to even
      {QVariant(3.5), 0, 4},
      {QVariant(-2.5), 0, -2},
      {QVariant(true), 0, -1},
      {QVariant(QStringLiteral("False")), 0, 0},
      {QVariant(32767), 0, 32767},
      {QVariant(-32768), 0, -32768},
      {QVariant(32768), kErrOverflow, 0},
      {QVariant(-32768.6), kErrOverflow, 0},
      {QVariant(QStringLiteral("abc")), kErrTypeMismatch, 0},
      {QVariant(QStringList{"x"}), kErrTypeMismatch, 0},
      // Qt reads these texts as numbers; the runtime does not.
      {QVariant(QStringLiteral("nan")), kErrTypeMismatch, 0},
      {QVariant(QStringLiteral("-inf")), kErrTypeMismatch, 0},
      {QVariant(std::numeric_limits<double>::quiet_NaN()), kErrOverflow, 0},
      {QVariant(std::numeric_limits<double>::infinity()), kErrOverflow, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in.toString().toStdString());
    if (c.error16 == 0) {
      EXPECT_EQ(ToInt16(c.in), c.as16);
    } else {
      try {
        ToInt16(c.in);
        ADD_FAILURE() << "no error";
      } catch (const AutomationError& e) {
        EXPECT_EQ(e.number(), c.error16);
      }
    }
  }
  // Colours come signed or unsigned; system colours keep their high bit.
  EXPECT_EQ(ToColor(QVariant(static_cast<qint64>(std::numeric_limits<std::int32_t>::min()) + 0x12)),
            0x80000012u);
  EXPECT_EQ(ToColor(QVariant(0x80000012u)), 0x80000012u);
  EXPECT_THROW(ToColor(QVariant(static_cast<qint64>(1) << 33)), AutomationError);
  // Reals are finite too: what is drawn or compared with them is a number.
  for (const QVariant& v :
       {QVariant(std::numeric_limits<double>::quiet_NaN()), QVariant(QStringLiteral("Infinity")),
        QVariant(std::numeric_limits<float>::infinity())}) {
    EXPECT_THROW(ToDouble(v), AutomationError);
    EXPECT_THROW(ToSingle(v), AutomationError);
    EXPECT_THROW(ToBool(v), AutomationError);
  }
  EXPECT_EQ(ToDouble(QVariant(QStringLiteral("-1.5e3"))), -1500.0);
  EXPECT_TRUE(IsMissing({QVariant(), 1}, 0));
  EXPECT_TRUE(IsMissing({1}, 1));
  EXPECT_FALSE(IsMissing({1}, 0));
}

TEST(Events, RaiseIsSynchronousInAdviseOrderAndReadsArgumentsBack) {
  EventSource source;
  std::vector<int> order;
  FunctionSink first([&](DispId id, QVariantList& args) {
    order.push_back(1);
    EXPECT_EQ(id, -602);
    args[0] = 0;  // a host that swallows the key
  });
  FunctionSink second([&](DispId, QVariantList& args) {
    order.push_back(2);
    EXPECT_EQ(args[0].toInt(), 0) << "the second sink sees what the first wrote";
  });
  const int a = source.advise(&first);
  const int b = source.advise(&second);
  EXPECT_NE(a, b);
  QVariantList args{65, 0};
  source.raise(-602, args);
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  EXPECT_EQ(args[0].toInt(), 0);

  source.unadvise(a);
  order.clear();
  source.raise(-602, args);
  EXPECT_EQ(order, (std::vector<int>{2}));
}

TEST(Events, SinkMayUnadviseAnotherDuringRaise) {
  EventSource source;
  int calls = 0;
  int cookieOfSecond = 0;
  FunctionSink first([&](DispId, QVariantList&) {
    ++calls;
    source.unadvise(cookieOfSecond);
  });
  FunctionSink second([&](DispId, QVariantList&) { ++calls; });
  source.advise(&first);
  cookieOfSecond = source.advise(&second);
  QVariantList args;
  source.raise(1, args);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(source.advise(nullptr));
}

TEST(EventBoundary, CatchesAndReportsInsteadOfUnwinding) {
  std::vector<int> reported;
  SetErrorHandler([&](const AutomationError& e) { reported.push_back(e.number()); });
  EXPECT_FALSE(
      CatchAtEventBoundary([] { throw AutomationError(kErrInvalidPropertyValue, {}, "Scopel"); }));
  EXPECT_FALSE(CatchAtEventBoundary([] { throw std::runtime_error("boom"); }));
  EXPECT_TRUE(CatchAtEventBoundary([] {}));
  SetErrorHandler({});
  EXPECT_EQ(reported, (std::vector<int>{kErrInvalidPropertyValue, kErrInvalidProcedureCall}));

  const AutomationError error(kErrNoSuchMember, {}, "ucScopel");
  EXPECT_EQ(error.description(), "Object doesn't support this property or method");
  EXPECT_EQ(error.source(), "ucScopel");
}

}  // namespace
}  // namespace morvane::automation
