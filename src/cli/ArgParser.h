#pragma once
// A small command-line parser: flags, options with a value, and positional arguments.

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace corvane::cli {

// A usage error; main prints it on one line and exits with status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct OptionRule {
  std::vector<std::string> Names;  // e.g. {"-j", "--jobs"}; the first one is the key
  bool TakesValue = false;
};

class ParsedArgs {
 public:
  bool Has(const std::string& key) const { return FFlags.count(key) || FValues.count(key); }
  std::optional<std::string> Value(const std::string& key) const;
  // The value as an integer within [low, high]; UsageError otherwise.
  std::optional<long> IntValue(const std::string& key, long low, long high) const;
  const std::vector<std::string>& Positional() const { return FPositional; }

 private:
  friend ParsedArgs Parse(const std::vector<std::string>&, const std::vector<OptionRule>&);
  std::set<std::string> FFlags;
  std::map<std::string, std::string> FValues;
  std::vector<std::string> FPositional;
};

// Parses args against the options; "--" ends the options. UsageError for an unknown
// option or a missing value.
ParsedArgs Parse(const std::vector<std::string>& args, const std::vector<OptionRule>& options);

}  // namespace corvane::cli
