// A section of the settings file whose target takes and gives one struct
// as a whole: its keys read and write the struct's fields one by one, each
// one read handed to the target at once, so that a load that stops at a bad
// key keeps those before it.
#pragma once

#include <cstdint>
#include <type_traits>

#include "settings/settings_keys.h"

namespace glyphary {

template <typename Struct, typename Target, Struct (Target::*Get)() const,
          void (Target::*Set)(const Struct&)>
class StructFields {
 public:
  explicit StructFields(Target& target) : value_((target.*Get)()), target_(&target) {}
  explicit StructFields(const Struct& value) : value_(value) {}

  // A number, a flag (0 or 1) or an enumeration in its declared order.
  template <auto Field>
  std::int32_t Number() const {
    return static_cast<std::int32_t>(value_.*Field);
  }
  template <auto Field>
  void SetNumber(std::int32_t number) {
    using Type = std::remove_reference_t<decltype(value_.*Field)>;
    Change(value_.*Field, static_cast<Type>(number));
  }
  template <auto Field>
  TColor Colour() const {
    return value_.*Field;
  }
  template <auto Field>
  void SetColour(TColor colour) {
    Change(value_.*Field, colour);
  }

  // The key of a field that must lie within [minimum, maximum].
  template <auto Field>
  static SettingsKey<StructFields> Ranged(const char* section, const char* name,
                                          std::int32_t minimum, std::int32_t maximum) {
    return {section, name,
            RangedKey<StructFields>{static_cast<std::int32_t>(Struct{}.*Field), minimum, maximum,
                                    &StructFields::Number<Field>, &StructFields::SetNumber<Field>}};
  }
  template <auto Field>
  static SettingsKey<StructFields> Coloured(const char* section, const char* name) {
    return {section, name,
            ColorKey<StructFields>{Struct{}.*Field, &StructFields::Colour<Field>,
                                   &StructFields::SetColour<Field>}};
  }

 private:
  template <typename T>
  void Change(T& field, T value) {
    field = value;
    if (target_) (target_->*Set)(value_);
  }

  Struct value_;
  Target* target_ = nullptr;
};

}  // namespace glyphary
