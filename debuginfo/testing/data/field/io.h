/* io.h: the port of the field project */
void io_set(unsigned char v);
void io_toggle(void);
