#include "util.h"

unsigned int total;

unsigned int Twice(unsigned char v)
{
    unsigned int r;
    r = v + v;
    total += r;
    return r;
}
