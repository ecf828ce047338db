#include "src\util.h"

unsigned char counter;
unsigned int xdata buf[4];
sfr P1 = 0x90;

void main(void)
{
    unsigned char i;
    counter = 0;
    for (i = 0; i < 4; i++)
    {
        buf[i] = Twice(i);
    }
    while (1)
    {
        P1 = counter++;
    }
}
