#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dolvane::cli {

// One option a subcommand accepts: "--name VALUE" (or "--name=VALUE") when it takes a value, a
// bare "--name" otherwise.
struct OptionRule {
    std::string_view name;  // with its leading "--"
    bool takesValue = true;
};

// The options and plain arguments of one subcommand, as given (UTF-8).
class CommandLine final {
public:
    // Throws CliError for an option the subcommand does not know, a missing value, an option
    // given twice, or more plain arguments than `maxPositionals`. "--" ends the options.
    CommandLine(std::span<const std::string> arguments, std::span<const OptionRule> options,
                std::size_t maxPositionals);

    std::optional<std::string> Value(std::string_view name) const;
    bool Has(std::string_view name) const;
    const std::vector<std::string>& Positionals() const noexcept { return positionals_; }

    // The value of an option that must be a whole number within [minimum, maximum].
    std::optional<int> Number(std::string_view name, int minimum, int maximum) const;

private:
    std::map<std::string, std::string, std::less<>> values_;
    std::vector<std::string> positionals_;
};

}  // namespace dolvane::cli
