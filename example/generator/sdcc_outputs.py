"""Readers of SDCC's outputs: the debug records (.cdb), the linked
assembler listings (.rst), the linker map (.map) and the Intel HEX image.

Everything the Keil-format writers need is collected into a `Program`: its
modules with their globals, functions, locals, code pieces and line records,
all at the addresses the linker gave them.
"""

import re
from dataclasses import dataclass, field

# SDCC's type chain codes and the C51 type words the listings use.
TYPE_WORDS = {
    "SC:S": "CHAR",
    "SC:U": "U_CHAR",
    "SI:S": "INT",
    "SI:U": "U_INT",
    "SL:S": "LONG",
    "SL:U": "U_LONG",
}


@dataclass
class Variable:
    name: str
    address: int
    size: int
    type_word: str
    space: str  # "DATA", "XDATA" or "SFR"


@dataclass
class Function:
    name: str
    start: int
    end: int  # the address after its last byte
    type_word: str = "PROC"
    public: bool = True
    locals: list = field(default_factory=list)
    lines: list = field(default_factory=list)  # (address, line), address order


@dataclass
class CodePiece:
    """A run of code bytes of one module in one linker area."""

    area: str
    start: int
    end: int
    lines: list = field(default_factory=list)  # (address, source line)


@dataclass
class Module:
    name: str  # the source file's name without its extension, as on disk
    source: str  # the source file's path relative to the project
    variables: list = field(default_factory=list)
    functions: list = field(default_factory=list)
    pieces: list = field(default_factory=list)
    lines: list = field(default_factory=list)  # (address, line) outside functions


@dataclass
class Program:
    modules: list
    startup: Module
    library: list  # (name, address, end, module) of library functions
    image: dict  # code address -> byte
    stack_start: int
    values: dict  # the linker's global values by name


def type_word(chain):
    """The C51 type word of an SDCC type chain such as 'DA8d,SC:U'."""
    head = chain.split(",")[0]
    if head.startswith("DA"):
        return "ARRAY"
    if head.startswith("DF"):
        return "PROC"
    if head.startswith(("DG", "DC", "DX", "DD", "DI", "DP")):
        return "PTR"
    return TYPE_WORDS.get(chain, chain)


S_RECORD = re.compile(r"^S:(G|F\w+|L(\w+)\.(\w+))\$(\w+)\$[^(]*\(\{(\d+)\}([^)]*)\),(\w),[^,]*,[^,]*(?:,\[([^\]]*)\])?")
L_RECORD = re.compile(r"^L:(.*):([0-9A-Fa-f]+)$")


def read_cdb(path):
    """The symbol records of the debug file by module, the names of the
    functions each module defines, and the linker records."""
    modules = {}
    defined = {}  # module -> list of (scope, function, name, size, chain, class, regs)
    addresses = {}
    module = None
    with open(path, encoding="latin-1") as cdb:
        for line in cdb:
            line = line.rstrip("\n")
            if line.startswith("M:"):
                module = line[2:]
                modules.setdefault(module, [])
                defined.setdefault(module, [])
                continue
            if line.startswith("F:") and module is not None:
                match = S_RECORD.match("S:" + line[2:])
                if match:
                    scope = match.group(1)[0]
                    defined[module].append((scope, None, match.group(4), int(match.group(5)),
                                            match.group(6), match.group(7), None))
                continue
            match = S_RECORD.match(line)
            if match and module is not None:
                scope = match.group(1)[0]
                function = match.group(3) if scope == "L" else None
                modules[module].append((scope, function, match.group(4), int(match.group(5)),
                                        match.group(6), match.group(7), match.group(8)))
                continue
            match = L_RECORD.match(line)
            if match:
                addresses[match.group(1)] = int(match.group(2), 16)
    return modules, defined, addresses


RST_CODE = re.compile(r"^\s+([0-9A-F]{6})((?: [0-9A-F]{2})+)\s+\[\s*\d+\]\s+(\d+) ")
RST_AREA = re.compile(r"^\s+(\d+)\s+\.area\s+(\w+)")


def read_rst(path):
    """The instructions of a linked listing: (area, address, size, listing line)."""
    instructions = []
    area = ""
    with open(path, encoding="latin-1") as rst:
        for text in rst:
            match = RST_AREA.match(text)
            if match:
                area = match.group(2)
                continue
            match = RST_CODE.match(text)
            if match:
                size = len(match.group(2).split())
                instructions.append((area, int(match.group(1), 16), size, int(match.group(3))))
    return instructions


def code_pieces(instructions):
    """Contiguous runs of the instructions, one per area."""
    pieces = []
    for area, address, size, _ in sorted(instructions, key=lambda i: i[1]):
        last = pieces[-1] if pieces else None
        if last and last.area == area and last.end == address:
            last.end = address + size
        else:
            pieces.append(CodePiece(area, address, address + size))
    return pieces


MAP_CODE_SYMBOL = re.compile(r"^C:\s+([0-9A-F]{8})\s+(\S+)\s+(\S+)\s*$")
MAP_VALUE = re.compile(r"^C:\s+([0-9A-F]{8})\s+(\S+)\s*$")


def read_map(path):
    """The code symbols defined in library modules and the linker's values."""
    library = []
    values = {}
    with open(path, encoding="latin-1") as linker_map:
        for text in linker_map:
            match = MAP_CODE_SYMBOL.match(text)
            if match:
                name = match.group(2)
                if not re.match(r"^[A-Z]+\$", name) and not name.startswith("XG$"):
                    library.append((name, int(match.group(1), 16), match.group(3)))
                continue
            match = MAP_VALUE.match(text)
            if match:
                values[match.group(2)] = int(match.group(1), 16)
    return library, values


def read_hex(path):
    """The bytes of an Intel HEX image by address."""
    image = {}
    with open(path) as hex_file:
        for text in hex_file:
            text = text.strip()
            if not text.startswith(":"):
                continue
            data = bytes.fromhex(text[1:])
            count, address, kind = data[0], (data[1] << 8) | data[2], data[3]
            if kind == 0:
                for offset in range(count):
                    image[address + offset] = data[4 + offset]
    return image
