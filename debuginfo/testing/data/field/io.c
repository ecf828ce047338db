/* io.c: the port of the field project, compiled through io.SRC */
#include "io.h"

void io_set(unsigned char v)
{
    P1 = v;
}

void io_toggle(void)
{
    P1 ^= 0x01;
}
