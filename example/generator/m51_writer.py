"""The linker map in the classic .M51 form."""

from segments import code_segments, data_segments, startup_publics, xdata_segments
from text_form import HEADER_DATE, PROJECT, program_size

TITLE = "BL51 BANKED LINKER/LOCATER V5.12"


def _segment_line(segment):
    return "            %-8s%04XH     %04XH     %-13s%s" % (
        segment.memory, segment.start, segment.length, segment.relocation, segment.name)


def _value(prefix, address, kind, name):
    return "  %-16s%-14s%s" % ("%s:%04XH" % (prefix, address), kind, name)


def _mark(kind, name):
    return "  %-16s%-14s%s" % ("-------", kind, name)


def _variable_prefix(variable):
    return "X" if variable.space == "XDATA" else "D"


def _module_symbols(module):
    lines = [_mark("MODULE", module.name.upper())]
    for variable in module.variables:
        lines.append(_value(_variable_prefix(variable), variable.address, "PUBLIC", variable.name))
    for function in module.functions:
        kind = "PUBLIC" if function.public else "SYMBOL"
        lines.append(_value("C", function.start, kind, function.name))
    for address, line in module.lines:
        lines.append(_value("C", address, "LINE#", str(line)))
    for function in module.functions:
        lines.append(_mark("PROC", function.name.upper()))
        if function.locals:
            lines.append(_mark("DO", ""))
            for local in function.locals:
                lines.append(_value("D", local.address, "SYMBOL", local.name))
            lines.append(_mark("ENDDO", ""))
        for address, line in function.lines:
            lines.append(_value("C", address, "LINE#", str(line)))
        lines.append(_mark("ENDPROC", function.name.upper()))
    lines.append(_mark("ENDMOD", module.name.upper()))
    return lines


def _startup_symbols(program):
    startup = program.startup
    lines = [_mark("MODULE", "?C_STARTUP")]
    for index, piece in enumerate(startup.pieces):
        name = "?C_C51STARTUP" + ("?%d" % index if index else "")
        lines.append(_value("C", piece.start, "SEGMENT", name))
    lines.append(_value("I", program.stack_start, "SEGMENT", "?STACK"))
    lines.append(_value("C", startup.pieces[0].start, "PUBLIC", "?C_STARTUP"))
    for name, address in startup_publics(program, program.values):
        lines.append(_value("C", address, "PUBLIC", name))
    for address, line in startup.lines:
        lines.append(_value("C", address, "LINE#", str(line)))
    lines.append(_mark("ENDMOD", "?C_STARTUP"))
    return lines


def _library_symbols(program):
    lines = []
    for name, address, _, owner in program.library:
        lines.append(_mark("MODULE", owner.upper()))
        lines.append(_value("C", address, "PUBLIC", name))
        lines.append(_mark("ENDMOD", owner.upper()))
    return lines


def write_m51(program, modules_line):
    out = []
    out.append("%-88s%s  PAGE 1" % (TITLE, HEADER_DATE))
    out += ["", "", "%s, INVOKED BY:" % TITLE, modules_line, "", "", "MEMORY MODEL: SMALL", "", ""]
    out.append("INPUT MODULES INCLUDED:")
    out.append("  .\\Obj\\STARTUP.obj (?C_STARTUP)")
    for module in program.modules:
        out.append("  .\\Obj\\%s.obj (%s)" % (module.name, module.name.upper()))
    for _, _, _, owner in program.library:
        out.append("  C:\\SDCC\\LIB\\SMALL\\MCS51.LIB (%s)" % owner.upper())
    out += ["", "", "LINK MAP OF MODULE:  %s (?C_STARTUP)" % PROJECT, "", ""]
    out.append("            TYPE    BASE      LENGTH    RELOCATION   SEGMENT NAME")
    out.append("            -----------------------------------------------------")
    out += ["", "            * * * * * * *   D A T A   M E M O R Y   * * * * * * *"]
    out += [_segment_line(s) for s in data_segments(program)]
    out += ["", "            * * * * * * *  X D A T A   M E M O R Y  * * * * * * *"]
    out += [_segment_line(s) for s in xdata_segments(program)]
    out += ["", "            * * * * * * *   C O D E   M E M O R Y   * * * * * * *"]
    out += [_segment_line(s) for s in code_segments(program)]
    out += ["", "", "", "SYMBOL TABLE OF MODULE:  %s (?C_STARTUP)" % PROJECT, ""]
    out += ["  VALUE           TYPE          NAME", "  ----------------------------------", ""]
    out += _startup_symbols(program)
    for module in program.modules:
        out.append("")
        out += _module_symbols(module)
    if program.library:
        out.append("")
        out += _library_symbols(program)
    out.append("")
    out.append("Program Size: %s" % program_size(program, with_const=False))
    out.append("LINK/LOCATE RUN COMPLETE.  0 WARNING(S),  0 ERROR(S)")
    return "\n".join(line.rstrip() for line in out) + "\n"
