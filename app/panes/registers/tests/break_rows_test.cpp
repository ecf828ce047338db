// The break pane's row texts and the record a selected row designates.
#include "break_rows.h"

#include <gtest/gtest.h>

TEST(BreakRows, TextsOfSourceAndAssemblyOnlyBreakpointsAndTheSelectedRecord) {
    CInfo_Break source;
    source.m_strFile = "main.c";
    source.m_strLabel = "main";
    source.m_nOffset = 6;
    source.m_nLine = 42;
    EXPECT_EQ(BreakRowName(source, true), "main.c , Line : 42");
    EXPECT_EQ(BreakRowLabel(source), "main + 6");
    CInfo_Break asmOnly = source;
    asmOnly.m_strFile = kAsmOnlyFile;
    asmOnly.m_nAsmRow = 17;
    asmOnly.m_nSourceRow = 30;
    asmOnly.m_dwAddress = 0x01A4;
    EXPECT_EQ(BreakRowName(asmOnly, true), "ONLY_ASM_CODE , Line : 17");
    EXPECT_EQ(BreakRowName(asmOnly, false), "ONLY_ASM_CODE , Line : 30");
    EXPECT_EQ(BreakRowLabel(asmOnly), "0x01A4");

    // No row, and a blank row below the last record, designate nothing.
    g_BreakList = {source, asmOnly};
    EXPECT_EQ(SelectedBreakRecord(-1), nullptr);
    EXPECT_EQ(SelectedBreakRecord(2), nullptr);
    ASSERT_NE(SelectedBreakRecord(1), nullptr);
    EXPECT_EQ(SelectedBreakRecord(1)->m_strFile, kAsmOnlyFile);
    g_BreakList.clear();
}
