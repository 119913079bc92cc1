#pragma once

#include <optional>
#include <string>

// The user manual compiled into the program (the PDF under the resource path
// ":/stomplet/manual/Stomplet_userguide-v1.00.pdf"), byte for byte; nullopt when the program
// carries none or it cannot be read. Reads it anew on every call; the manual is a few hundred
// kilobytes and asked for only from the Help menu.
// [main thread]
std::optional<std::string> ReadCarriedManual();
