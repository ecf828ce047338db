/* Blinky: the example program of the debugger.
 * A main loop blinks port 1 through a delay routine, counts its passes and
 * stops in an endless loop when the error flag gets set. Timer 0 counts
 * its overflows in an interrupt routine. */
#include <8051.h>

#include "src/delay.h"

char step = 1;
unsigned char pattern = 0x01;
unsigned char passes;
unsigned char total;
__xdata unsigned char history[8];
unsigned char failed;
volatile unsigned char ticks;

void timer0_isr(void) __interrupt(1)
{
    ticks++;
}

static unsigned char next_pattern(unsigned char current)
{
    unsigned char next;

    next = current << 1;
    if (next == 0)
        next = 0x01;
    return next;
}

void main(void)
{
    TMOD = 0x01;
    ET0 = 1;
    TR0 = 1;
    EA = 1;
    for (;;) {
        P1 = ~pattern;
        history[passes & 7] = pattern;
        total += delay(10, step);
        pattern = next_pattern(pattern);
        passes++;
        if (failed) {
            for (;;)
                P1 = 0x00;
        }
    }
}
