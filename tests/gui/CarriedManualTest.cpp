#include "app/CarriedManual.h"

#include <gtest/gtest.h>
#include <string>

// The user guide compiled into the program is the PDF the build rendered from the Markdown.
TEST(CarriedManual, IsACompletePdfDocumentOfSeveralPages)
{
    const std::string manual = ReadCarriedManual().value_or("");
    EXPECT_EQ(manual.substr(0, 5), "%PDF-");
    EXPECT_NE(manual.rfind("%%EOF"), std::string::npos) << "the document ends properly";
    std::size_t pages = 0; // a page object per page
    for (auto at = manual.find("/Type /Page\n"); at != std::string::npos;
         at = manual.find("/Type /Page\n", at + 1))
        ++pages;
    EXPECT_GE(pages, 4u);
}
