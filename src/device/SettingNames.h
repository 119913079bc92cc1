#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Finding a setting by a name as a person types it. Pure lookups. [any thread]

// The form names are compared in: letters in lower case, only letters and digits kept, and the
// word "midi" dropped, so "JACK 2 Mode", "jack2mode" and "PEDAL1 MIDI Channel" ("PEDAL1
// Channel") each find their setting.
std::string SettingNameKey(std::string_view name);

// The index of the setting whose name has the same key as `name`; empty when none has.
std::optional<int> FindSettingByName(std::string_view name);

// Up to `count` setting names nearest to `name` by edit distance between their keys, nearest
// first, the table's order among equals.
std::vector<std::string_view> NearestSettingNames(std::string_view name, std::size_t count = 3);
