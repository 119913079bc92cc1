#include "toolkit/ParamUserInput.h"

#include "core/IParam.h"

#include <charconv>
#include <cmath>
#include <string>

namespace
{
std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

int RangeItemCount(const IParam& param)
{
    const double step = param.GetStep() > 0.0 ? param.GetStep() : 1.0;
    const double count = std::floor(param.GetRange() / step + 0.5) + 1.0;
    if (!std::isfinite(count) || count < 1.0)
        return 1;
    return count > kMaxParamMenuItems ? kMaxParamMenuItems : static_cast<int>(count);
}
} // namespace

bool ParamUsesMenu(const IParam& param)
{
    return param.Type() == IParam::kTypeEnum ||
           (param.Type() == IParam::kTypeBool && param.NDisplayTexts() > 0);
}

std::vector<PopupMenuItem> ParamMenuItems(const IParam& param, double currentValue)
{
    std::vector<PopupMenuItem> items;
    if (param.NDisplayTexts() > 0)
    {
        for (int i = 0; i < param.NDisplayTexts(); ++i)
        {
            const double value = param.GetDisplayTextValue(i);
            items.push_back({std::string(param.GetDisplayText(i)), value == currentValue, true});
        }
        return items;
    }
    const int count = RangeItemCount(param);
    for (int i = 0; i < count; ++i)
    {
        const double value = *ParamMenuItemValue(param, i);
        items.push_back({param.GetDisplay(value), value == currentValue, true});
    }
    return items;
}

std::optional<double> ParamMenuItemValue(const IParam& param, int itemIdx)
{
    if (itemIdx < 0)
        return std::nullopt;
    if (param.NDisplayTexts() > 0)
    {
        if (itemIdx >= param.NDisplayTexts())
            return std::nullopt;
        return param.GetDisplayTextValue(itemIdx);
    }
    if (itemIdx >= RangeItemCount(param))
        return std::nullopt;
    const double step = param.GetStep() > 0.0 ? param.GetStep() : 1.0;
    return param.Constrain(param.GetMin() + step * itemIdx);
}

std::optional<double> ParseParamText(const IParam& param, std::string_view text)
{
    const std::string_view trimmed = Trim(text);
    if (trimmed.empty())
        return std::nullopt;
    for (int i = 0; i < param.NDisplayTexts(); ++i)
    {
        if (param.GetDisplayText(i) == trimmed)
            return param.GetDisplayTextValue(i);
    }
    // from_chars takes no leading '+'; a typed "+5" still means 5.
    std::string_view number = trimmed;
    if (number.size() > 1 && number.front() == '+')
        number.remove_prefix(1);
    double value = 0.0;
    const auto [end, ec] =
        std::from_chars(number.data(), number.data() + number.size(), value,
                        std::chars_format::fixed | std::chars_format::scientific);
    if (ec != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}
