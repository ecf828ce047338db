/* Interrupt-driven serial output: the main loop writes decimal numbers into
   a ring buffer that the serial routine empties, one byte per TI, at the
   baud rate of timer 1 (auto-reload, SMOD set); between lines timer 0 (16-bit
   mode, polled) makes a pause. No other interrupt runs while bytes are sent. */
#include <8051.h>

#define BUFFER_SIZE 16

unsigned char buffer[BUFFER_SIZE];
volatile unsigned char head;
volatile unsigned char tail;
volatile __bit busy;

void serialInterrupt(void) __interrupt(4) {
    if (TI) {
        TI = 0;
        if (head != tail) {
            SBUF = buffer[tail];
            tail = (tail + 1) & (BUFFER_SIZE - 1);
        } else {
            busy = 0;
        }
    }
}

static void put(unsigned char c) {
    while (((head + 1) & (BUFFER_SIZE - 1)) == tail)
        ;
    ES = 0;
    if (!busy) {
        busy = 1;
        SBUF = c;
    } else {
        buffer[head] = c;
        head = (head + 1) & (BUFFER_SIZE - 1);
    }
    ES = 1;
}

static void putNumber(unsigned int value) {
    char digits[5];
    unsigned char n = 0;
    do {
        digits[n++] = '0' + value % 10;
        value /= 10;
    } while (value != 0);
    while (n != 0)
        put(digits[--n]);
}

void main(void) {
    unsigned int n = 0;

    SCON = 0x50;
    TMOD = 0x21;
    TH1 = 0xFD;
    TL1 = 0xFD;
    PCON |= 0x80;
    TR1 = 1;
    ES = 1;
    EA = 1;
    for (;;) {
        putNumber(n * n);
        put('\n');
        while (busy)
            ;
        TH0 = 0xFE;
        TL0 = 0x00;
        TF0 = 0;
        TR0 = 1;
        while (!TF0)
            ;
        TR0 = 0;
        ++n;
    }
}
