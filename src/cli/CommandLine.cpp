#include "cli/CommandLine.h"

#include "cli/CliText.h"
#include "core/text/Numbers.h"

#include <algorithm>

namespace dolvane::cli {

CommandLine::CommandLine(std::span<const std::string> arguments, std::span<const OptionRule> options,
                         std::size_t maxPositionals)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || !argument.starts_with("--")) {
            if (positionals_.size() == maxPositionals) {
                throw CliError("余分な引数があります: " + argument);
            }
            positionals_.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const auto equals = argument.find('=');
        const std::string_view name = std::string_view(argument).substr(0, equals);
        const auto option = std::find_if(options.begin(), options.end(),
                                         [name](const OptionRule& known) { return known.name == name; });
        if (option == options.end()) {
            throw CliError("不明なオプションです: " + std::string(name));
        }
        if (values_.contains(name)) {
            throw CliError("オプションが二度指定されています: " + std::string(name));
        }
        std::string value;
        if (equals != std::string::npos) {
            if (!option->takesValue) {
                throw CliError("オプション " + std::string(name) + " は値をとりません");
            }
            value = argument.substr(equals + 1);
        } else if (option->takesValue) {
            if (i + 1 == arguments.size()) {
                throw CliError("オプション " + std::string(name) + " の値がありません");
            }
            value = arguments[++i];
        }
        values_.emplace(name, std::move(value));
    }
}

std::optional<std::string> CommandLine::Value(std::string_view name) const
{
    const auto found = values_.find(name);
    return found == values_.end() ? std::nullopt : std::optional(found->second);
}

bool CommandLine::Has(std::string_view name) const
{
    return values_.contains(name);
}

std::optional<int> CommandLine::Number(std::string_view name, int minimum, int maximum) const
{
    const auto text = Value(name);
    if (!text) {
        return std::nullopt;
    }
    const auto number = ParseInt32(*text);
    if (!number || *number < minimum || *number > maximum) {
        throw CliError(std::string(name) + " には " + std::to_string(minimum) + " から " + std::to_string(maximum) +
                       " までの整数を指定してください: " + *text);
    }
    return *number;
}

}  // namespace dolvane::cli
