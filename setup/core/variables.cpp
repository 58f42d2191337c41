#include "variables.h"

#include "script_text.h"

namespace setup {

VariableTable::Slot* VariableTable::find(std::string_view name) {
  for (Slot& slot : slots_) {
    if (slot.name && equalsIgnoringCase(*slot.name, name)) return &slot;
  }
  return nullptr;
}

const VariableTable::Slot* VariableTable::find(std::string_view name) const {
  return const_cast<VariableTable*>(this)->find(name);
}

void VariableTable::set(std::string_view name, std::string_view value) {
  if (name.empty()) return;
  Slot* slot = find(name);
  if (slot == nullptr) {
    for (Slot& candidate : slots_) {
      if (!candidate.name) {
        slot = &candidate;
        break;
      }
    }
  }
  if (slot == nullptr) return;
  slot->name = std::string(name);
  slot->value = std::string(value);
}

std::optional<std::string> VariableTable::get(std::string_view name) const {
  const Slot* slot = find(name);
  if (slot == nullptr) return std::nullopt;
  return slot->value;
}

void VariableTable::clear(std::string_view name) {
  if (Slot* slot = find(name)) *slot = Slot{};
}

void VariableTable::clearAll() { slots_.fill(Slot{}); }

size_t VariableTable::count() const {
  size_t n = 0;
  for (const Slot& slot : slots_) n += slot.name ? 1 : 0;
  return n;
}

}  // namespace setup
