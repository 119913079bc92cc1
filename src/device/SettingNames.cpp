#include "device/SettingNames.h"

#include "device/ParamTable.h"

#include <algorithm>
#include <cctype>
#include <numeric>

namespace
{
constexpr std::string_view kIgnoredWord = "midi";

// Levenshtein distance: insertions, deletions and substitutions each cost one.
std::size_t EditDistance(std::string_view a, std::string_view b)
{
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i)
    {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j)
        {
            const std::size_t above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}
} // namespace

std::string SettingNameKey(std::string_view name)
{
    std::string key;
    for (const char c : name)
        if (std::isalnum(static_cast<unsigned char>(c)))
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (std::size_t at = key.find(kIgnoredWord); at != std::string::npos;
         at = key.find(kIgnoredWord))
        key.erase(at, kIgnoredWord.size());
    return key;
}

std::optional<int> FindSettingByName(std::string_view name)
{
    const std::string key = SettingNameKey(name);
    if (key.empty())
        return std::nullopt;
    for (int idx = 0; idx < kNumParams; ++idx)
        if (SettingNameKey(kParamDefinitions[static_cast<std::size_t>(idx)].name) == key)
            return idx;
    return std::nullopt;
}

std::vector<std::string_view> NearestSettingNames(std::string_view name, std::size_t count)
{
    const std::string key = SettingNameKey(name);
    std::vector<std::pair<std::size_t, int>> ranked;
    for (int idx = 0; idx < kNumParams; ++idx)
        ranked.emplace_back(
            EditDistance(key,
                         SettingNameKey(kParamDefinitions[static_cast<std::size_t>(idx)].name)),
            idx);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string_view> names;
    for (std::size_t i = 0; i < std::min(count, ranked.size()); ++i)
        names.push_back(kParamDefinitions[static_cast<std::size_t>(ranked[i].second)].name);
    return names;
}
