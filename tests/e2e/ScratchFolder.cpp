#include "ScratchFolder.h"

#include <gtest/gtest.h>
#include <string>

namespace e2e
{
std::filesystem::path ScratchFolder()
{
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    const std::string name =
        test ? std::string(test->test_suite_name()) + "." + test->name() : std::string("outside");
    const std::filesystem::path folder = std::filesystem::path(STOMPLET_E2E_SCRATCH) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}
} // namespace e2e
