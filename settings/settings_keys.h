// The keys of the settings file as data, and how a key is read into or
// written from a target. Each table lists its keys in file order.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "settings/ini_document.h"
#include "settings/settings.h"
#include "settings/text_forms.h"

namespace glyphary {

template <class Target>
struct IntegerKey {
  std::int32_t fallback;
  std::int32_t (Target::*get)() const;
  void (Target::*set)(std::int32_t);
};

template <class Target>
struct BooleanKey {
  bool fallback;
  bool (Target::*get)() const;
  void (Target::*set)(bool);
};

template <class Target>
struct TextKey {
  std::string fallback;
  std::string (Target::*get)() const;
  void (Target::*set)(const std::string&);
};

template <class Target>
struct ColorKey {
  TColor fallback;
  TColor (Target::*get)() const;
  void (Target::*set)(TColor);
};

// An integer that must lie within [minimum, maximum]: a bad one stops the
// load, as a bad colour does, instead of silently becoming the default.
template <class Target>
struct RangedKey {
  std::int32_t fallback, minimum, maximum;
  std::int32_t (Target::*get)() const;
  void (Target::*set)(std::int32_t);
};

template <class Target>
struct SettingsKey {
  const char* section;
  const char* name;
  std::variant<IntegerKey<Target>, BooleanKey<Target>, TextKey<Target>, ColorKey<Target>,
               RangedKey<Target>>
      kind;
  // Where the target cannot know the value, the key is neither applied nor
  // stored, so the file keeps what it holds.
  bool (Target::*known)() const = nullptr;

  bool KnownTo(const Target& target) const { return !known || (target.*known)(); }
};

std::span<const SettingsKey<MainSettingsTarget>> MainSettingsKeys();
std::span<const SettingsKey<ExportSettingsTarget>> ExportSettingsKeys();

// The message of a colour that is neither a name nor an integer.
std::string NotAnInteger(const std::string& text);
// The message of an integer outside its key's range.
std::string OutOfRange(const std::string& text, std::int32_t minimum, std::int32_t maximum);

template <class Target>
void ReadKey(const std::string& value, const IntegerKey<Target>& key, Target& target) {
  (target.*key.set)(ParseIniInteger(value).value_or(key.fallback));
}

template <class Target>
void ReadKey(const std::string& value, const BooleanKey<Target>& key, Target& target) {
  (target.*key.set)(ParseIniInteger(value).value_or(key.fallback ? 1 : 0) != 0);
}

template <class Target>
void ReadKey(const std::string& value, const TextKey<Target>& key, Target& target) {
  (target.*key.set)(value);
}

template <class Target>
void ReadKey(const std::string& value, const ColorKey<Target>& key, Target& target) {
  const auto color = ParseColor(value);
  if (!color) throw Error(NotAnInteger(value));
  (target.*key.set)(*color);
}

template <class Target>
void ReadKey(const std::string& value, const RangedKey<Target>& key, Target& target) {
  const auto number = ParseIniInteger(value);
  if (!number) throw Error(NotAnInteger(value));
  if (*number < key.minimum || *number > key.maximum)
    throw Error(OutOfRange(value, key.minimum, key.maximum));
  (target.*key.set)(*number);
}

template <class Target>
std::string Fallback(const IntegerKey<Target>& key) {
  return std::to_string(key.fallback);
}
template <class Target>
std::string Fallback(const BooleanKey<Target>& key) {
  return key.fallback ? "1" : "0";
}
template <class Target>
std::string Fallback(const TextKey<Target>& key) {
  return key.fallback;
}
template <class Target>
std::string Fallback(const ColorKey<Target>& key) {
  return ColorToText(key.fallback);
}

template <class Target>
std::string Fallback(const RangedKey<Target>& key) {
  return std::to_string(key.fallback);
}

template <class Target>
std::string WriteKey(const RangedKey<Target>& key, const Target& source) {
  return std::to_string((source.*key.get)());
}
template <class Target>
std::string WriteKey(const IntegerKey<Target>& key, const Target& source) {
  return std::to_string((source.*key.get)());
}
template <class Target>
std::string WriteKey(const BooleanKey<Target>& key, const Target& source) {
  return (source.*key.get)() ? "1" : "0";
}
template <class Target>
std::string WriteKey(const TextKey<Target>& key, const Target& source) {
  return (source.*key.get)();
}
template <class Target>
std::string WriteKey(const ColorKey<Target>& key, const Target& source) {
  return ColorToText((source.*key.get)());
}

// Where a value came from, as an error message ends: " (FILE の [Section] Key)".
std::string KeyOrigin(const std::string& file, const char* section, const char* key);

// Applies the keys in order; a missing key reads as its default's text. A
// value that stops the load has its file, section and key added to the message.
template <class Target>
void ApplySettings(const IniDocument& doc, std::span<const SettingsKey<Target>> keys,
                   Target& target, const std::string& file = {}) {
  for (const auto& key : keys) {
    if (!key.KnownTo(target)) continue;
    std::visit(
        [&](const auto& kind) {
          try {
            ReadKey(doc.Get(key.section, key.name).value_or(Fallback(kind)), kind, target);
          } catch (const Error& e) {
            throw Error(e.what() + KeyOrigin(file, key.section, key.name));
          }
        },
        key.kind);
  }
}

template <class Target>
void UpdateSettings(IniDocument& doc, std::span<const SettingsKey<Target>> keys,
                    const Target& source) {
  for (const auto& key : keys)
    if (key.KnownTo(source))
      std::visit([&](const auto& kind) { doc.Set(key.section, key.name, WriteKey(kind, source)); },
                 key.kind);
}

}  // namespace glyphary
