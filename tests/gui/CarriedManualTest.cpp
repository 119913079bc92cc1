#include "app/CarriedManual.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

// The user guide compiled into the program is the PDF the build rendered from the Markdown.
TEST(CarriedManual, IsACompletePdfDocumentOfSeveralPages)
{
    const std::optional<std::string> manual = ReadCarriedManual();
    ASSERT_TRUE(manual.has_value());
    EXPECT_EQ(manual->substr(0, 5), "%PDF-");
    EXPECT_NE(manual->rfind("%%EOF"), std::string::npos) << "the document ends properly";
    // A page object per page; the guide runs to several pages.
    std::size_t pages = 0;
    for (std::size_t at = manual->find("/Type /Page\n"); at != std::string::npos;
         at = manual->find("/Type /Page\n", at + 1))
        ++pages;
    EXPECT_GE(pages, 4u);
    EXPECT_EQ(ReadCarriedManual(), manual) << "every read hands out the same bytes";
}
