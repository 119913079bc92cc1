#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

// The command-line programs' option syntax: "--name value" or "--name=value". Pure. [any thread]

// True when `arg` is the option `name`, alone or followed by '=' and a value.
inline bool IsOption(std::string_view arg, std::string_view name)
{
    return arg.starts_with(name) && (arg.size() == name.size() || arg[name.size()] == '=');
}

// The value of the option `name` at `args[index]`: after '=' in the same argument, else the next
// argument, and then `index` points at that argument. Empty when there is none.
inline std::optional<std::string_view> OptionValue(std::span<const std::string_view> args,
                                                   std::size_t& index, std::string_view name)
{
    const std::string_view arg = args[index];
    if (arg.size() > name.size() && arg[name.size()] == '=')
        return arg.substr(name.size() + 1);
    if (index + 1 >= args.size())
        return std::nullopt;
    ++index;
    return args[index];
}
