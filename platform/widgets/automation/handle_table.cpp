#include "platform/widgets/automation/handle_table.h"

#include <QPointer>

#include <unordered_map>

namespace morvane::automation {

namespace {

struct Slot {
  const void* address = nullptr;
  QPointer<QObject> object;  // set for QObjects
  bool isObject = false;
};

struct Table {
  std::unordered_map<Handle, Slot> entries;
  std::unordered_map<const void*, Handle> byAddress;
  // Ids count up in steps of 4 from a value that does not look like 0, 1 or -1.
  Handle next = 0x10004;
};

Table& TheTable() {
  static Table table;
  return table;
}

Handle Assign(const void* address) {
  Table& table = TheTable();
  const auto known = table.byAddress.find(address);
  if (known != table.byAddress.end()) return known->second;
  const Handle handle = table.next;
  table.next += 4;
  table.byAddress.emplace(address, handle);
  table.entries.emplace(handle, Slot{address, nullptr, false});
  return handle;
}

}  // namespace

Handle HandleTable::HandleOf(QObject* object) {
  if (object == nullptr) return 0;
  Table& table = TheTable();
  const auto known = table.byAddress.find(object);
  if (known != table.byAddress.end()) {
    const Slot& slot = table.entries.at(known->second);
    if (slot.isObject && slot.object == object) return known->second;
    // A new object at the address of one that has gone.
    Release(object);
  }
  const Handle handle = Assign(object);
  Slot& slot = table.entries.at(handle);
  slot.object = object;
  slot.isObject = true;
  QObject::connect(object, &QObject::destroyed,
                   [address = static_cast<const void*>(object)]() { Release(address); });
  return handle;
}

Handle HandleTable::HandleOf(const void* object) { return object == nullptr ? 0 : Assign(object); }

void HandleTable::Release(const void* object) {
  Table& table = TheTable();
  const auto known = table.byAddress.find(object);
  if (known == table.byAddress.end()) return;
  table.entries.erase(known->second);
  table.byAddress.erase(known);
}

QObject* HandleTable::ObjectOf(Handle handle) {
  const auto slot = TheTable().entries.find(handle);
  if (slot == TheTable().entries.end() || !slot->second.isObject) return nullptr;
  return slot->second.object.data();
}

const void* HandleTable::AddressOf(Handle handle) {
  const auto slot = TheTable().entries.find(handle);
  if (slot == TheTable().entries.end()) return nullptr;
  if (slot->second.isObject && slot->second.object.isNull()) return nullptr;
  return slot->second.address;
}

}  // namespace morvane::automation
