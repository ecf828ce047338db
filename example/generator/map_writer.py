"""The linker map in the extended linker's .MAP form."""

from segments import code_segments, data_segments, startup_publics, xdata_segments
from text_form import HEADER_DATE, PROJECT, program_size

TITLE = "LX51 LINKER/LOCATER V4.25"
CLASS_BASE = {"CODE": 0x01000000, "XDATA": 0x02000000, "DATA": 0, "IDATA": 0}
SIZE_TYPES = {1: "BYTE", 2: "WORD", 4: "DWORD"}


def _segment_line(segment):
    memory_class = "DATA" if segment.memory == "REG" else segment.memory
    align = "---" if segment.relocation == "ABSOLUTE" else "BYTE"
    relocation = "AT.." if segment.relocation == "ABSOLUTE" else "UNIT"
    return "%06XH   %06XH   %06XH   %-7s%-9s%-15s%s" % (
        segment.start, segment.start + segment.length - 1, segment.length, align, relocation,
        memory_class, segment.name)


def _symbol(address, rep, memory_class, type_word, name):
    value = "%08XH" % (CLASS_BASE.get(memory_class, 0) + address)
    return "      %-12s%-10s%-9s%-10s%s" % (value, rep, memory_class, type_word, name)


def _mark(rep, name):
    return "      %-12s%-10s%-9s%-10s%s" % ("---", rep, "---", "---", name)


def _variable(variable):
    memory_class = "XDATA" if variable.space == "XDATA" else "DATA"
    rep = "SFRSYM" if variable.space == "SFR" else "PUBLIC"
    return _symbol(variable.address, rep, memory_class, SIZE_TYPES.get(variable.size, "---"),
                   variable.name)


def _lines(lines):
    return [_symbol(address, "LINE", "CODE", "---", "#%d" % line) for address, line in lines]


def _module_symbols(module):
    out = [_mark("MODULE", module.name.upper())]
    out += [_variable(v) for v in module.variables]
    for function in module.functions:
        rep = "PUBLIC" if function.public else "SYMBOL"
        out.append(_symbol(function.start, rep, "CODE", "---", function.name))
    # Lines outside the functions stand outside any block, as in the .M51 form.
    out += _lines(module.lines)
    for function in module.functions:
        out += ["", _symbol(function.start, "BLOCK", "CODE", "---", "LVL=0")]
        for local in function.locals:
            out.append(_symbol(local.address, "SYMBOL", "DATA",
                               SIZE_TYPES.get(local.size, "---"), local.name))
        out += _lines(function.lines)
        out.append(_mark("BLOCKEND", "LVL=0"))
    return out


def _startup_symbols(program):
    startup = program.startup
    out = [_mark("MODULE", "?C_STARTUP")]
    out.append(_symbol(startup.pieces[0].start, "PUBLIC", "CODE", "NEAR LAB", "?C_STARTUP"))
    for name, address in startup_publics(program, program.values):
        out.append(_symbol(address, "PUBLIC", "CODE", "NEAR LAB", name))
    out += _lines(startup.lines)
    return out


def _publics(program):
    rows = [("?C_STARTUP", program.startup.pieces[0].start, "CODE", "NEAR LAB", "")]
    rows += [(name, address, "CODE", "NEAR LAB", "")
             for name, address in startup_publics(program, program.values)]
    for module in program.modules:
        for variable in module.variables:
            memory_class = "XDATA" if variable.space == "XDATA" else "DATA"
            mark = "*SFR* " if variable.space == "SFR" else ""
            rows.append((variable.name, variable.address, memory_class,
                         SIZE_TYPES.get(variable.size, "---"), mark))
        for function in module.functions:
            if function.public:
                rows.append((function.name, function.start, "CODE", "---", ""))
    for name, address, _, _ in program.library:
        rows.append((name, address, "CODE", "---", ""))
    out = []
    for name, address, memory_class, type_word, mark in sorted(rows, key=lambda r: r[0].upper()):
        value = "%08XH" % (CLASS_BASE[memory_class] + address)
        out.append("%-6s%-12s%-9s%-10s%s" % (mark, value, memory_class, type_word, name))
    return out


def write_map(program, modules_line):
    code = code_segments(program)
    out = ["%-88s%s  PAGE 1" % (TITLE, HEADER_DATE), "", ""]
    out += ["%s, INVOKED BY:" % TITLE, modules_line, "", "", "CPU MODE:     8051 MODE",
            "MEMORY MODEL: SMALL", "", "", "INPUT MODULES INCLUDED:"]
    out += ["  .\\Obj\\STARTUP.obj (?C_STARTUP)", "         COMMENT TYPE 0: AX51 V3.03c"]
    for module in program.modules:
        out += ["  .\\Obj\\%s.obj (%s)" % (module.name, module.name.upper()),
                "         COMMENT TYPE 0: C51 V8.12"]
    for _, _, _, owner in program.library:
        out.append("  C:\\SDCC\\LIB\\SMALL\\MCS51.LIB (%s)" % owner.upper())
    out += ["", "", "MEMORY MAP OF MODULE:  %s (?C_STARTUP)" % PROJECT, "", ""]
    out.append("START     STOP      LENGTH    ALIGN  RELOC    MEMORY CLASS   SEGMENT NAME")
    out.append("=" * 73)
    out += ["", "* * * * * * * * * * *   D A T A   M E M O R Y   * * * * * * * * * * * * *"]
    out += [_segment_line(s) for s in data_segments(program)]
    out += ["", "* * * * * * * * * * *   C O D E   M E M O R Y   * * * * * * * * * * * * *"]
    out += [_segment_line(s) for s in code]
    out += ["", "* * * * * * * * * * *  X D A T A   M E M O R Y  * * * * * * * * * * * * *"]
    out += [_segment_line(s) for s in xdata_segments(program)]
    out += ["", "", "", "PUBLIC SYMBOLS OF MODULE:  %s (?C_STARTUP)" % PROJECT, "", ""]
    out += ["      VALUE       CLASS    TYPE      PUBLIC SYMBOL NAME", "      " + "=" * 49]
    out += _publics(program)
    out += ["", "", "", "SYMBOL TABLE OF MODULE:  %s (?C_STARTUP)" % PROJECT, ""]
    out += ["      VALUE       REP       CLASS    TYPE      SYMBOL NAME", "      " + "=" * 52]
    out += _startup_symbols(program)
    for module in program.modules:
        out.append("")
        out += _module_symbols(module)
    for name, address, _, owner in program.library:
        out += ["", _mark("MODULE", owner.upper()), _symbol(address, "PUBLIC", "CODE", "---", name)]
    out += ["", "Program Size: %s" % program_size(program, with_const=True),
            "LX51 RUN COMPLETE.  0 WARNING(S),  0 ERROR(S)"]
    return "\n".join(line.rstrip() for line in out) + "\n"
