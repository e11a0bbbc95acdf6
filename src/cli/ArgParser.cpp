#include "ArgParser.h"

#include <algorithm>
#include <charconv>

namespace corvane::cli {

std::optional<std::string> ParsedArgs::Value(const std::string& key) const {
  auto it = FValues.find(key);
  if (it == FValues.end()) return std::nullopt;
  return it->second;
}

std::optional<long> ParsedArgs::IntValue(const std::string& key, long low, long high) const {
  std::optional<std::string> text = Value(key);
  if (!text) return std::nullopt;
  long value = 0;
  auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (error != std::errc() || end != text->data() + text->size() || value < low || value > high)
    throw UsageError("invalid value '" + *text + "' for " + key + " (expected " + std::to_string(low) + " to " +
                     std::to_string(high) + ")");
  return value;
}

ParsedArgs Parse(const std::vector<std::string>& args, const std::vector<OptionRule>& options) {
  ParsedArgs parsed;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      parsed.FPositional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::string name = arg, inlineValue;
    bool hasInline = false;
    if (size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      name = arg.substr(0, eq);
      inlineValue = arg.substr(eq + 1);
      hasInline = true;
    }
    auto rule = std::find_if(options.begin(), options.end(), [&](const OptionRule& o) {
      return std::find(o.Names.begin(), o.Names.end(), name) != o.Names.end();
    });
    if (rule == options.end()) throw UsageError("unknown option '" + name + "'");
    const std::string& key = rule->Names.front();
    if (!rule->TakesValue) {
      if (hasInline) throw UsageError("option '" + name + "' takes no value");
      parsed.FFlags.insert(key);
    } else if (hasInline) {
      parsed.FValues[key] = inlineValue;
    } else if (i + 1 < args.size()) {
      parsed.FValues[key] = args[++i];
    } else {
      throw UsageError("option '" + name + "' needs a value");
    }
  }
  return parsed;
}

}  // namespace corvane::cli
