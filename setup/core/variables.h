// The script's variables: 200 slots of a name and a value, both strings.
// Names compare with ASCII letter case ignored and keep the case of their
// latest assignment; a slot without a name is free.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace setup {

class VariableTable {
 public:
  static constexpr size_t kSlots = 200;

  // Replaces the slot that holds the name, or fills the first free one; when
  // every slot holds a name, a new name is not stored. An empty name names
  // no variable.
  void set(std::string_view name, std::string_view value);
  std::optional<std::string> get(std::string_view name) const;
  void clear(std::string_view name);
  void clearAll();
  size_t count() const;

 private:
  struct Slot {
    std::optional<std::string> name;
    std::string value;
  };
  Slot* find(std::string_view name);
  const Slot* find(std::string_view name) const;

  std::array<Slot, kSlots> slots_;
};

}  // namespace setup
