/* example.c: how the port is meant to be used; a document of the project,
   not built */
void example(void)
{
    io_set(0);
}
