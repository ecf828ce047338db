// The two values alone in this file, so that a program linking another
// definition of them does not pull this one in as well.
#include "xdata_range.h"

uint32_t g_dwXdataLow = 0x1000000;
uint32_t g_dwXdataHigh = 0;
