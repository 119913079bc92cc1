#pragma once

#include <filesystem>

namespace e2e
{
// A folder for the running test's files under the build tree, named after the test, emptied when
// the test asks for it and kept afterwards for a look after a failure.
std::filesystem::path ScratchFolder();
} // namespace e2e
