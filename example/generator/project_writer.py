"""The uVision project file of the example."""

# Bit 15 of T51FL selects the extended linker, whose map is the .MAP form.
CLASSIC_LINKER_FLAGS = 80
EXTENDED_LINKER_BIT = 0x8000


def write_project(c_files, extended_map):
    flags = CLASSIC_LINKER_FLAGS | (EXTENDED_LINKER_BIT if extended_map else 0)
    lines = ["### uVision2 Project, (C) Keil Software", "### Do not modify !", "",
             "Target (Blinky), 0x0000 // Tools: 'MCS-51'", "", "Group (Source Group 1)",
             "Group (Startup Code)", ""]
    for path in c_files:
        name = path.split("\\")[-1]
        lines.append("File 1,1,<.\\%s><%s> 0x0 " % (path, name))
    lines.append("File 2,2,<.\\STARTUP.A51><STARTUP.A51> 0x0 ")
    lines += ["", "", "Options 1,0,0  // Target 'Blinky'", " Device (AT89C51)", " Vendor (Atmel)",
              " Cpu (IRAM(0-0xFF) IROM(0-0xFFF) XRAM(0-0xFF) CLOCK(12000000))", " FlashUt ()",
              ' StupF ("LIB\\STARTUP.A51" ("Standard 8051 Startup Code"))', " FlashDR ()",
              " Rgf (REG51.H)", " Mem ()", " C ()", " A ()", " RL ()", " OH ()", " UseEnv=0",
              " EnvBin ()", " EnvInc ()", " EnvLib ()", " TgStat=16", " OutDir (.\\Obj\\)",
              " OutName (Blinky)", " GenApp=1", " GenLib=0", " GenHex=1", " Debug=1", " Browse=1",
              " LstDir (.\\Lst\\)", " HexSel=0", " RunUsr 0 0 <>", " RunUsr 1 0 <>",
              " BrunUsr 0 0 <>", " BrunUsr 1 0 <>", " SVCSID <>", " MODEL5=0", " RTOS5=0",
              " ROMSZ5=2", " T51FL=%d" % flags, " XT51FL=0", " CBANKS5=0", " XBANKS5=0",
              " C51FL=21630224", " AX51FL=4", ""]
    return "\n".join(lines) + "\n"
