"""The segments of the example program under the names a C51 linker gives
them: ?PR?FUNCTION?MODULE for a function's code, ?DT?MODULE and ?XD?MODULE
for a module's data, ?DT?FUNCTION?MODULE for a function's locals in memory,
?C_C51STARTUP for the start-up code; every other run of code is named after
SDCC's area and its module."""

from dataclasses import dataclass


@dataclass
class Segment:
    memory: str  # "REG", "DATA", "IDATA", "XDATA" or "CODE"
    start: int
    length: int
    relocation: str
    name: str
    module: str = ""  # the module name, upper case; empty for none


def _span(variables):
    start = min(v.address for v in variables)
    end = max(v.address + v.size for v in variables)
    return start, end - start


def data_segments(program):
    segments = [Segment("REG", 0, 8, "ABSOLUTE", '"REG BANK 0"')]
    for module in program.modules:
        key = module.name.upper()
        data = [v for v in module.variables if v.space == "DATA"]
        if data:
            start, length = _span(data)
            segments.append(Segment("DATA", start, length, "UNIT", "?DT?" + key, key))
        for function in module.functions:
            memory = [v for v in function.locals if v.address >= 8]
            if memory:
                start, length = _span(memory)
                segments.append(Segment("DATA", start, length, "UNIT",
                                        "?DT?%s?%s" % (function.name.upper(), key), key))
    segments.sort(key=lambda s: s.start)
    segments.append(Segment("IDATA", program.stack_start, 1, "UNIT", "?STACK"))
    return segments


def xdata_segments(program):
    segments = []
    for module in program.modules:
        xdata = [v for v in module.variables if v.space == "XDATA"]
        if xdata:
            start, length = _span(xdata)
            key = module.name.upper()
            segments.append(Segment("XDATA", start, length, "UNIT", "?XD?" + key, key))
    return segments


def _split_by_functions(piece, module):
    """The piece cut into its functions and the runs between them."""
    key = module.name.upper()
    cuts = []
    address = piece.start
    for function in module.functions:
        if function.end <= piece.start or function.start >= piece.end:
            continue
        if function.start > address:
            cuts.append(Segment("CODE", address, function.start - address, "UNIT",
                                "?%s?%s" % (piece.area, key), key))
        cuts.append(Segment("CODE", function.start, function.end - function.start, "UNIT",
                            "?PR?%s?%s" % (function.name.upper(), key), key))
        address = function.end
    if address < piece.end:
        cuts.append(Segment("CODE", address, piece.end - address, "UNIT",
                            "?%s?%s" % (piece.area, key), key))
    return cuts


def code_segments(program):
    segments = []
    for module in program.modules:
        for piece in module.pieces:
            segments += _split_by_functions(piece, module)
    for index, piece in enumerate(program.startup.pieces):
        name = "?C_C51STARTUP" + ("?%d" % index if index else "")
        segments.append(
            Segment("CODE", piece.start, piece.end - piece.start, "UNIT", name, "?C_STARTUP"))
    for name, start, end, owner in program.library:
        segments.append(Segment("CODE", start, end - start, "UNIT",
                                "?PR?%s?%s" % (name.upper(), owner.upper()), owner.upper()))
    segments.sort(key=lambda s: s.start)
    return segments


def startup_publics(program, values):
    """The start-up code's global labels: (name, address)."""
    inside = [(p.start, p.end) for p in program.startup.pieces]
    found = []
    for name, address in values.items():
        if name.startswith(("s_", "l_")):
            continue
        if any(start <= address < end for start, end in inside):
            found.append((name, address))
    return sorted(found, key=lambda item: (item[1], item[0]))
