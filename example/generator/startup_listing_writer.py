"""The start-up module's assembler listing: every line of the start-up source
with the address and the code bytes of its instruction."""

from segments import startup_publics
from text_form import HEADER_DATE

TITLE = "A51 MACRO ASSEMBLER  STARTUP"


def _instructions(program):
    """Source line -> (address, code bytes) of the start-up instructions."""
    found = {}
    for piece in program.startup.pieces:
        addresses = [address for address, _ in piece.lines] + [piece.end]
        for index, (address, line) in enumerate(piece.lines):
            size = addresses[index + 1] - address
            found[line] = (address, bytes(program.image[a] for a in range(address, address + size)))
    return found


def _name_column(name):
    text = name
    while len(text) < 18:
        text += "." if len(text) % 2 else " "
    return text + "  "


def write_startup_listing(program, source_text):
    code = _instructions(program)
    out = ["%-90s%s PAGE     1" % (TITLE, HEADER_DATE), "", "", "MACRO ASSEMBLER A51 V8.00",
           "OBJECT MODULE PLACED IN .\\Obj\\STARTUP.obj",
           "ASSEMBLER INVOKED BY: C:\\Keil\\C51\\BIN\\A51.EXE STARTUP.A51 SET(SMALL) DEBUG "
           "PRINT(.\\Lst\\STARTUP.lst) OBJECT(.\\Obj\\STARTUP.obj) EP", "",
           "LOC  OBJ            LINE     SOURCE", ""]
    for number, text in enumerate(source_text.splitlines(), 1):
        text = text.expandtabs(8)
        if number in code:
            address, data = code[number]
            out.append("%04X %-14s%5d     %s" % (address, data.hex().upper(), number, text))
        else:
            out.append("%24d     %s" % (number, text))
    out += ["", "", "N A M E             T Y P E  V A L U E   ATTRIBUTES", ""]
    publics = [("?C_STARTUP", program.startup.pieces[0].start)]
    publics += startup_publics(program, program.values)
    for name, address in sorted(publics):
        out.append("%sC ADDR   %04XH   A" % (_name_column(name), address))
    out += ["", "", "REGISTER BANK(S) USED: 0", "", "",
            "ASSEMBLY COMPLETE.  0 WARNING(S), 0 ERROR(S)"]
    return "\n".join(line.rstrip() for line in out) + "\n"
