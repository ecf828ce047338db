// A C listing's copy of its source against the file: what the compiler
// writes around the lines (columns, include levels, continuations of long
// lines across a page break, the code listing after them) is no difference,
// nor are blanks, tabs, comments and the lines the listing leaves out; code is.
#include <gtest/gtest.h>

#include "source_check.h"

namespace {

const char* const kListing =
    "C51 COMPILER V8.12   M                                       PAGE 1\n\n"
    "line level    source\n\n"
    "   1          int a;                  // count\n"
    "   2          #include \"m.h\"\n"
    "   1      =1  int shared;\n"
    "   3          /* two\n"
    "   4             lines */ int b;\n"
    "   9          void f(void) {\n"
    "  10   1              call(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18\n"
    "\fC51 COMPILER V8.12   M                                       PAGE 2\n\n"
    "             -, 19);\n"
    "  11   1      }\n\n"
    "ASSEMBLY LISTING OF GENERATED OBJECT CODE\n"
    "0012 1200        R     LCALL   call\n";

const std::vector<std::string> kSource = {
    "int a;\t\t\t// count of the passes",
    "#include \"m.h\"",
    "/* two",
    "   lines */ int b;",
    "#if 0",
    "int left_out;",
    "#endif",
    "",
    "void f(void) {",
    "\tcall(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19);",
    "}",
    "int appended_later;"};

uint32_t FirstChange(std::vector<std::string> source) {
    Loader listing;
    listing.AssignText("m.lst", kListing);
    SplitTextLines(listing);
    Loader file;
    std::string text;
    for (const std::string& line : source)
        text += line + "\r\n";
    file.AssignText("m.c", text);
    SplitTextLines(file);
    return FirstChangedSourceLine(listing, file);
}

} // namespace

TEST(SourceCheck, OnlyTheCodeOfTheListedLinesIsCompared) {
    EXPECT_EQ(FirstChange(kSource), 0u);
    std::vector<std::string> source = kSource;
    source[5] = "int changed_but_left_out;";
    EXPECT_EQ(FirstChange(source), 0u);
    source[3] = "   lines */ int c;";
    EXPECT_EQ(FirstChange(source), 4u);
    source = kSource;
    source[2] = "/* two */"; // line 4 is code now
    EXPECT_EQ(FirstChange(source), 4u);
    source = kSource;
    source[9] = "\tcall(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18);";
    EXPECT_EQ(FirstChange(source), 10u);
    source.resize(9); // cut short
    EXPECT_EQ(FirstChange(source), 10u);
}
