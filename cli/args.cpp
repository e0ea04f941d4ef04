#include "cli/args.h"

#include <charconv>

namespace glyphary::cli {

Args::Args(const std::vector<std::string>& words, const std::vector<OptionSpec>& options) {
  auto find = [&](const std::string& name) -> const OptionSpec* {
    if (name == "help") {
      static const OptionSpec help{"help", false};
      return &help;
    }
    for (const auto& o : options)
      if (o.name == name) return &o;
    return nullptr;
  };
  bool optionsEnded = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (optionsEnded || w.size() < 3 || w.compare(0, 2, "--") != 0) {
      if (w == "--" && !optionsEnded) {
        optionsEnded = true;
        continue;
      }
      positional_.push_back(w);
      continue;
    }
    const auto eq = w.find('=');
    const std::string name = w.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
    const OptionSpec* option = find(name);
    if (!option) throw UsageError("unknown option --" + name);
    if (!option->takesValue) {
      if (eq != std::string::npos) throw UsageError("option --" + name + " takes no value");
      values_[name] = "";
    } else if (eq != std::string::npos) {
      values_[name] = w.substr(eq + 1);
    } else if (i + 1 < words.size()) {
      values_[name] = words[++i];
    } else {
      throw UsageError("option --" + name + " needs a value");
    }
  }
}

std::optional<std::string> Args::Value(const std::string& name) const {
  const auto it = values_.find(name);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

int Args::IntValue(const std::string& name, int fallback, int min, int max) const {
  const auto v = Value(name);
  return v ? ParseInt(*v, "--" + name, min, max) : fallback;
}

void Args::RefuseBothForms(const std::string& name) const {
  if (Has(name) && Has("no-" + name))
    throw UsageError("--" + name + " and --no-" + name + " exclude each other");
}

void Args::ExpectPositional(std::size_t count) const {
  if (positional_.size() != count)
    throw UsageError("expected " + std::to_string(count) + " arguments, got " +
                     std::to_string(positional_.size()));
}

int ParseInt(const std::string& text, const std::string& what, int min, int max) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end)
    throw UsageError(what + " must be a whole number, not '" + text + "'");
  if (value < min || value > max)
    throw UsageError(what + " must be between " + std::to_string(min) + " and " +
                     std::to_string(max) + ", not " + text);
  return value;
}

}  // namespace glyphary::cli
