// A small command-line parser shared by the commands of glyphary-cli.
#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace glyphary::cli {

// Wrong use of the command line: reported with exit code 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct OptionSpec {
  std::string name;  // without the leading "--"
  bool takesValue = false;
};

class Args {
 public:
  // Options start with "--" (value as "--name VALUE" or "--name=VALUE");
  // a lone "--" ends them. "--help" is always known.
  Args(const std::vector<std::string>& words, const std::vector<OptionSpec>& options);

  const std::vector<std::string>& Positional() const noexcept { return positional_; }
  bool Has(const std::string& name) const { return values_.count(name) != 0; }
  std::optional<std::string> Value(const std::string& name) const;
  // The option as an integer within [min, max]; fallback when absent.
  int IntValue(const std::string& name, int fallback, int min, int max) const;
  bool HelpRequested() const { return Has("help"); }
  // Throws UsageError when both --NAME and --no-NAME are given.
  void RefuseBothForms(const std::string& name) const;
  // Throws UsageError unless there are exactly `count` positional words.
  void ExpectPositional(std::size_t count) const;

 private:
  std::vector<std::string> positional_;
  std::map<std::string, std::string> values_;
};

// Parses a whole decimal integer within [min, max]; UsageError naming `what` otherwise.
int ParseInt(const std::string& text, const std::string& what, int min, int max);

}  // namespace glyphary::cli
