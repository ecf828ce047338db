/* Timer 0 interrupts (16-bit mode, reloaded in the routine) count ticks
   while the main loop does long arithmetic through the compiler's library;
   every eighth tick raises INT0 from software, which has the high priority
   and so nests into the timer routine. */
#include <8051.h>

volatile unsigned int ticks;
volatile unsigned char externalEvents;
unsigned long checksum;

void timer0Interrupt(void) __interrupt(1) {
    TH0 = 0xFF;
    TL0 = 0x00;
    ++ticks;
    if ((ticks & 7) == 0) IE0 = 1;
}

void int0Interrupt(void) __interrupt(0) {
    ++externalEvents;
}

void main(void) {
    unsigned char i;

    TMOD = 0x01;
    TH0 = 0xFF;
    TL0 = 0x00;
    IT0 = 1;
    PX0 = 1;
    ET0 = 1;
    EX0 = 1;
    EA = 1;
    TR0 = 1;
    for (;;) {
        for (i = 0; i < 20; ++i) {
            checksum = checksum * 31 + ticks;
            checksum ^= (unsigned long)i << 9;
        }
        P1 = (unsigned char)(checksum / 7);
        P2 = externalEvents;
    }
}
