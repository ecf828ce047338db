"""A C module's compiler listing: the numbered source, the generated code
with a "; SOURCE LINE #" mark before each line's instructions, and the
symbol table (NAME, CLASS, MSPACE, TYPE, OFFSET, SIZE)."""

import re

from segments import data_segments, xdata_segments
from text_form import HEADER_DATE

TITLE = "C51 COMPILER V7.50"
RULE = "====                                    =====   ======  ====    ======  ===="
HEADING = "NAME                                    CLASS   MSPACE  TYPE    OFFSET  SIZE"

RST_C_COMMENT = re.compile(r"^\s+\d+ ;\s+[^:]+\.c:(\d+): ")
RST_FUNCTION = re.compile(r"^\s+\d+ ;\s+function (\w+)$")
RST_CODE = re.compile(r"^\s+([0-9A-F]{6})((?: [0-9A-F]{2})+)\s+\[\s*\d+\]\s+\d+ \t(.*)$")
RST_LABEL = re.compile(r"^\s+([0-9A-F]{6})\s+\d+ ([\w$]+):+$")


def _source_part(code):
    """The numbered source with the brace level of each line."""
    lines = []
    depth = 0
    for number, text in enumerate(code.splitlines(), 1):
        before = depth
        depth += text.count("{") - text.count("}")
        level = max(before, depth)
        lines.append("%4d   %s      %s" % (number, str(level) if level else " ", text))
    return lines


def _code_part(rst_text):
    lines = ["ASSEMBLY LISTING OF GENERATED OBJECT CODE", "", ""]
    function = None
    for text in rst_text.splitlines():
        match = RST_FUNCTION.match(text)
        if match:
            if function:
                lines.append("             ; FUNCTION %s (END)" % function)
                lines.append("")
            function = match.group(1)
            lines.append("             ; FUNCTION %s (BEGIN)" % function)
            continue
        match = RST_C_COMMENT.match(text)
        if match:
            lines.append("%43s; SOURCE LINE # %s" % ("", match.group(1)))
            continue
        match = RST_CODE.match(text)
        if match:
            code = "".join(match.group(2).split())
            parts = match.group(3).split("\t", 1)
            instruction = " ".join([parts[0].upper()] + parts[1:])
            lines.append("%04X %-12s      %s" % (int(match.group(1), 16), code, instruction))
            continue
        match = RST_LABEL.match(text)
        if match and function:
            lines.append("%04X         %s:" % (int(match.group(1), 16), match.group(2)))
    if function:
        lines.append("             ; FUNCTION %s (END)" % function)
    return lines


def _name_column(name):
    text = name
    while len(text) < 38:
        text += "." if len(text) % 2 else " "
    return text + "  "


def _row(name, kind, space, type_word, offset, size):
    return "%s%-9s%-7s%-9s%04XH  %s" % (_name_column(name), kind, space, type_word, offset, size)


def _symbol_part(program, module):
    starts = {}
    for segment in data_segments(program) + xdata_segments(program):
        starts[segment.name] = segment.start
    key = module.name.upper()
    rows = [HEADING, RULE, "", ""]
    for variable in module.variables:
        if variable.space == "SFR":
            rows.append(_row(variable.name, "SFR", "DATA", variable.type_word, variable.address,
                             variable.size))
    for variable in module.variables:
        if variable.space == "SFR":
            continue
        segment = ("?XD?" if variable.space == "XDATA" else "?DT?") + key
        rows.append(_row(variable.name, "PUBLIC", variable.space, variable.type_word,
                         variable.address - starts.get(segment, 0), variable.size))
    for function in module.functions:
        kind = "PUBLIC" if function.public else "STATIC"
        code = next(p.start for p in module.pieces if p.start <= function.start < p.end)
        rows.append(_row(function.name, kind, "CODE", "PROC", function.start - code, "-----"))
        frame = "?DT?%s?%s" % (function.name.upper(), key)
        for local in function.locals:
            if local.address < 8:
                rows.append(_row("  " + local.name, "* REG *", "DATA", local.type_word,
                                 local.address, local.size))
            else:
                rows.append(_row("  " + local.name, "AUTO", "DATA", local.type_word,
                                 local.address - starts.get(frame, 0), local.size))
    return rows


def _size(value):
    return "%7d    ----" % value if value else "   ----    ----"


def _information(module):
    code = sum(p.end - p.start for p in module.pieces)
    data = sum(v.size for v in module.variables if v.space == "DATA")
    data += sum(l.size for f in module.functions for l in f.locals if l.address >= 8)
    xdata = sum(v.size for v in module.variables if v.space == "XDATA")
    return ["MODULE INFORMATION:   STATIC OVERLAYABLE",
            "   CODE SIZE        = %s" % _size(code), "   CONSTANT SIZE    = %s" % _size(0),
            "   XDATA SIZE       = %s" % _size(xdata), "   PDATA SIZE       = %s" % _size(0),
            "   DATA SIZE        = %s" % _size(data), "   IDATA SIZE       = %s" % _size(0),
            "   BIT SIZE         = %s" % _size(0), "END OF MODULE INFORMATION.", "", "",
            "C51 COMPILATION COMPLETE.  0 WARNING(S),  0 ERROR(S)"]


def write_c_listing(program, module, code, rst_text):
    key = module.name.upper()
    source = module.source.replace("/", "\\")
    out = ["%-86s%s PAGE 1" % ("%s   %s" % (TITLE, key), HEADER_DATE), "", ""]
    out.append("%s, COMPILATION OF MODULE %s" % (TITLE, key))
    out.append("OBJECT MODULE PLACED IN .\\Obj\\%s.obj" % module.name)
    out.append("COMPILER INVOKED BY: C:\\Keil\\C51\\BIN\\C51.EXE %s BROWSE DEBUG OBJECTEXTEND "
               "CODE SYMBOLS PRINT(.\\Lst\\%s.lst) OBJECT(.\\Obj\\%s.obj)" %
               (source, module.name, module.name))
    out += ["", "line level    source", ""]
    out += _source_part(code)
    out += ["", ""]
    out += _code_part(rst_text)
    out += ["", ""]
    out += _symbol_part(program, module)
    out += ["", ""]
    out += _information(module)
    return "\n".join(line.rstrip() for line in out) + "\n"
