/* A busy-wait delay that returns how many inner turns it made. */
#include "delay.h"

unsigned char delay(unsigned char count, char stride)
{
    unsigned char turns = 0;
    unsigned char inner;

    while (count != 0) {
        for (inner = 0; inner < 20; inner++)
            turns += stride;
        count--;
    }
    return turns;
}
