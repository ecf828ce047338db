// The row texts of the assembly listing.
#include <gtest/gtest.h>

#include "row_format.h"

namespace {

std::string Blanks(size_t n) {
    return std::string(n, ' ');
}

} // namespace

TEST(RowFormat, InstructionRowsWithAndWithoutLabel) {
    // Bytes padded to 11, 8 blanks, the label field (6 blanks without one), a blank, the rest.
    EXPECT_EQ(FormatDisassemblyLine("020005 LJMP   L0005", 0x0000),
              "<b>0x0000 </b> 020005" + Blanks(5 + 8 + 6 + 1) + "LJMP   L0005");
    EXPECT_EQ(FormatDisassemblyLine("L0005: 7401 MOV    A,#01H", 0x0005),
              "<b>0x0005 </b> 7401" + Blanks(7 + 8) + "L0005: MOV    A,#01H");
    // Lower-case hexadecimal, at least four digits.
    EXPECT_EQ(FormatDisassemblyLine("00 NOP", 0x1abcd),
              "<b>0x1abcd </b> 00" + Blanks(9 + 8 + 6 + 1) + "NOP");
    // Nothing after the bytes.
    EXPECT_EQ(FormatDisassemblyLine("22", 0x10), "<b>0x0010 </b> 22" + Blanks(9 + 8 + 6 + 1));
}

TEST(RowFormat, TheBytesFieldIsPaddedToElevenAndNeverBelow) {
    const std::string prefix = "<b>0x0000 </b> ";
    EXPECT_EQ(FormatDisassemblyLine("A NOP", 0), prefix + "A" + Blanks(10 + 8 + 6 + 1) + "NOP");
    EXPECT_EQ(FormatDisassemblyLine("0123456789 NOP", 0),
              prefix + "0123456789" + Blanks(1 + 8 + 6 + 1) + "NOP");
    // Wider than the column: no pad, nothing lost.
    EXPECT_EQ(FormatDisassemblyLine("0123456789ABCD NOP", 0),
              prefix + "0123456789ABCD" + Blanks(8 + 6 + 1) + "NOP");
}

TEST(RowFormat, MarkupCharactersAreEscaped) {
    EXPECT_EQ(FormatSourceLine("#include <intrins.h>", 1),
              "<font color=#A31515>        1 :        #include &lt;intrins.h&gt;</font>");
    EXPECT_EQ(FormatSourceLine("if (a<b && c>d)", 12, "00FF00"),
              "<font color=#00FF00>        12 :        if (a&lt;b &amp;&amp; c&gt;d)</font>");
    EXPECT_EQ(FormatSourceLine("main", 0), "<font color=#A31515>        0 :        main</font>");
    EXPECT_EQ(FormatDisassemblyLine("A<B: 00 X&Y", 1),
              "<b>0x0001 </b> 00" + Blanks(9 + 8) + "A&lt;B: X&amp;Y");
}

TEST(RowFormat, CarriageReturnCut) {
    EXPECT_EQ(CutAtCarriageReturn("abc\r\ndef"), "abc");
    EXPECT_EQ(CutAtCarriageReturn("abc"), "abc");
    EXPECT_EQ(CutAtCarriageReturn("\r"), "");
}

TEST(RowFormat, TabsExpandToStopsOfFour) {
    EXPECT_EQ(AlignDisassemblyColumns("a\tb"), "a   b");
    EXPECT_EQ(AlignDisassemblyColumns("ab\tc"), "ab  c");
    EXPECT_EQ(AlignDisassemblyColumns("abc\td"), "abc d");
    EXPECT_EQ(AlignDisassemblyColumns("abcd\te"), "abcd    e");
    EXPECT_EQ(AlignDisassemblyColumns("a\t\t\tb"), "a   b"); // a run of tabs is one
    EXPECT_EQ(AlignDisassemblyColumns("\tx = 1;"), "    x = 1;");
    EXPECT_EQ(AlignDisassemblyColumns("\tab\tc"), "    ab  c");
    EXPECT_EQ(AlignDisassemblyColumns("no tabs"), "no tabs");
    EXPECT_EQ(AlignDisassemblyColumns(""), "");
    EXPECT_EQ(AlignDisassemblyColumns("\t"), "");
}
