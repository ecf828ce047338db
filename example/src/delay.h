/* A busy-wait delay. */
#ifndef DELAY_H
#define DELAY_H

unsigned char delay(unsigned char count, char stride);

#endif
