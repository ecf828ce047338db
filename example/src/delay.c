/* A busy-wait delay that returns how many inner turns it made. */
#include "delay.h"

unsigned int delay(unsigned char count, char stride)
{
    unsigned int turns = 0;
    unsigned char inner;

    while (count != 0) {
        for (inner = 0; inner < 100; inner++)
            turns += stride;
        count--;
    }
    return turns;
}
