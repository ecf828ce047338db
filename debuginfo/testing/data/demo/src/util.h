#ifndef UTIL_H
#define UTIL_H

extern unsigned int total;
unsigned int Twice(unsigned char v);

#endif
