#pragma once

#include <QString>
#include <QStringView>
#include <QVariant>
#include <QVariantList>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

#include "platform/widgets/automation/automation_error.h"
#include "platform/widgets/automation/automation_export.h"

namespace morvane::automation {

// A member's number on a dispatch interface; standard members have negative ids.
using DispId = std::int32_t;

// What a caller does with a member.
enum class Invoke {
  Get,     // read a property
  Put,     // assign a property by value (args[0] is the value)
  PutRef,  // assign an object property by reference (args[0] is the object)
  Call,    // call a method with args, by reference
};

// The late-bound face of a control. Arguments go by reference: a member may change
// them and the caller reads them back. Unknown ids, and kinds a member lacks, raise
// error 438; a member's own errors arrive as AutomationError.
class MORVANE_AUTOMATION_API Dispatch {
 public:
  virtual ~Dispatch();
  virtual QVariant invoke(DispId id, Invoke kind, QVariantList& args) = 0;
  // The id of a member by name (names compare without regard to case); no value
  // when the interface has no such member.
  virtual std::optional<DispId> idOfName(QStringView name) const = 0;

  // Shorthands for hosts.
  QVariant get(DispId id);
  void put(DispId id, const QVariant& value);
  void putRef(DispId id, const QVariant& value);
  QVariant call(DispId id, QVariantList args = {});
};

// One member of a control's static table: its id and name and, for each kind it
// supports, a plain function over the control's typed C++ members (null where the
// member lacks that kind).
template <class Control>
struct Member {
  using Getter = QVariant (*)(Control&, QVariantList&);
  using Setter = void (*)(Control&, QVariantList&);
  using Caller = QVariant (*)(Control&, QVariantList&);

  DispId id;
  const char* name;
  Getter get = nullptr;
  Setter put = nullptr;
  Setter putRef = nullptr;
  Caller call = nullptr;
};

// A control's member table, in interface order. Controls keep one static instance
// and forward Dispatch::invoke to it.
template <class Control>
class MemberTable {
 public:
  MemberTable(std::initializer_list<Member<Control>> members) : members_(members) {}

  const std::vector<Member<Control>>& members() const { return members_; }

  const Member<Control>* find(DispId id) const {
    for (const auto& member : members_) {
      if (member.id == id) return &member;
    }
    return nullptr;
  }

  std::optional<DispId> idOfName(QStringView name) const {
    for (const auto& member : members_) {
      if (name.compare(QLatin1String(member.name), Qt::CaseInsensitive) == 0) return member.id;
    }
    return std::nullopt;
  }

  QVariant invoke(Control& control, DispId id, Invoke kind, QVariantList& args) const {
    const Member<Control>* member = find(id);
    if (member != nullptr) {
      switch (kind) {
        case Invoke::Get:
          if (member->get != nullptr) return member->get(control, args);
          break;
        case Invoke::Put:
          if (member->put != nullptr) {
            member->put(control, args);
            return {};
          }
          break;
        case Invoke::PutRef:
          if (member->putRef != nullptr) {
            member->putRef(control, args);
            return {};
          }
          break;
        case Invoke::Call:
          if (member->call != nullptr) return member->call(control, args);
          // A property read may be written as a call without arguments.
          if (member->get != nullptr && args.isEmpty()) return member->get(control, args);
          break;
      }
    }
    throw AutomationError(kErrNoSuchMember);
  }

 private:
  std::vector<Member<Control>> members_;
};

}  // namespace morvane::automation

// The entries of a member table, written one way for every control: `c` is the
// control, `a` the argument list. Each expands to a lambda without captures, which
// the table stores as a plain function over the control's type.
#define MORVANE_GET(expr) \
  []([[maybe_unused]] auto& c, [[maybe_unused]] QVariantList& a) -> QVariant { return expr; }
#define MORVANE_PUT(stmt) []([[maybe_unused]] auto& c, [[maybe_unused]] QVariantList& a) { stmt; }
#define MORVANE_CALL(expr) \
  []([[maybe_unused]] auto& c, [[maybe_unused]] QVariantList& a) -> QVariant { return expr; }
#define MORVANE_DO(stmt)                                                       \
  []([[maybe_unused]] auto& c, [[maybe_unused]] QVariantList& a) -> QVariant { \
    stmt;                                                                      \
    return {};                                                                 \
  }
