"""The example program as the linker placed it, built from SDCC's outputs."""

import os

from sdcc_outputs import (Function, Module, Program, Variable, code_pieces, read_cdb, read_hex,
                          read_map, read_rst, type_word)

RETURN_OPCODES = (0x22, 0x32)  # ret, reti
SPACES = {"E": "DATA", "F": "XDATA", "I": "SFR"}


def _record_key(scope, module, function, name):
    if scope == "G":
        return "G$%s$0_0$0" % name
    if scope == "F":
        return "F%s$%s$0_0$0" % (module, name)
    return None


def _function_key(scope, module, name):
    return ("G$%s$0$0" % name) if scope == "G" else ("F%s$%s$0$0" % (module, name))


def _local(record, addresses, module, function):
    _, _, name, size, chain, storage, registers = record
    if storage == "R":
        if not registers:
            return None  # kept in no register: SDCC gives it no storage
        address = int(registers.split(",")[0].strip()[1:])
    elif storage == "E":
        key = "L%s.%s$%s$" % (module, function, name)
        found = [value for text, value in addresses.items() if text.startswith(key)]
        if not found:
            return None
        address = found[0]
    else:
        return None
    return Variable(name, address, size, type_word(chain), "DATA")


def _c_lines(addresses, file_name):
    """(address, line) of every C line record of the file in address order;
    records at one address keep SDCC's order."""
    prefix = "C$%s$" % file_name
    lines = []
    for text, value in addresses.items():
        if text.startswith(prefix):
            record = (value, int(text[len(prefix):].split("$")[0]))
            if record not in lines:
                lines.append(record)
    return sorted(lines, key=lambda record: record[0])


def build_module(name, source, records, defined, addresses, instructions, image):
    module = Module(name=name, source=source)
    for scope, function, symbol, size, chain, storage, _ in records:
        if scope == "L" or chain.startswith("DF"):
            continue
        if storage not in SPACES:
            continue
        key = _record_key(scope, name, function, symbol)
        if key in addresses:
            module.variables.append(
                Variable(symbol, addresses[key], size, type_word(chain), SPACES[storage]))
    for scope, _, symbol, _, _, _, _ in defined:
        key = _function_key(scope, name, symbol)
        start, last = addresses.get(key), addresses.get("X" + key)
        if start is None or last is None:
            continue
        if image.get(last) not in RETURN_OPCODES:
            raise ValueError("%s does not end in a return at %04X" % (symbol, last))
        item = Function(symbol, start, last + 1, public=(scope == "G"))
        for record in records:
            if record[0] == "L" and record[1] == symbol:
                local = _local(record, addresses, name, symbol)
                if local:
                    item.locals.append(local)
        module.functions.append(item)
    module.functions.sort(key=lambda f: f.start)
    module.variables.sort(key=lambda v: (v.space, v.address, v.name))
    for address, line in _c_lines(addresses, os.path.basename(source)):
        owner = next((f for f in module.functions if f.start <= address < f.end), None)
        (owner.lines if owner else module.lines).append((address, line))
    module.pieces = code_pieces(instructions)
    return module


def build_startup(rst_files, offsets):
    """The start-up module from SDCC's run-time start-up listings; `offsets` gives
    each listing's first line in the combined start-up source."""
    module = Module(name="STARTUP", source="STARTUP.A51")
    for path in rst_files:
        instructions = read_rst(path)
        base = offsets[path]
        for piece in code_pieces(instructions):
            piece.lines = [(address, base + line) for _, address, _, line in instructions
                           if piece.start <= address < piece.end]
            module.pieces.append(piece)
    module.pieces.sort(key=lambda p: p.start)
    module.lines = sorted({line for piece in module.pieces for line in piece.lines})
    return module


def build_program(build_dir, c_modules, startup_rst, startup_offsets, output_name):
    """`c_modules`: (module name, source path) of the C files in link order."""
    cdb, defined, addresses = read_cdb(os.path.join(build_dir, output_name + ".cdb"))
    image = read_hex(os.path.join(build_dir, output_name + ".ihx"))
    modules = []
    for name, source in c_modules:
        instructions = read_rst(os.path.join(build_dir, name + ".rst"))
        modules.append(
            build_module(name, source, cdb.get(name, []), defined.get(name, []), addresses,
                         instructions, image))
    startup = build_startup(startup_rst, startup_offsets)
    symbols, values = read_map(os.path.join(build_dir, output_name + ".map"))
    own = {name for name, _ in c_modules} | {
        os.path.splitext(os.path.basename(path))[0] for path in startup_rst}
    starts = sorted(p.start for m in modules + [startup] for p in m.pieces)
    library = []
    for name, address, owner in symbols:
        if owner in own:
            continue
        end = next((s for s in starts if s > address), max(image) + 1)
        library.append((name, address, end, owner))
    _check_coverage(image, modules + [startup], library)
    return Program(modules, startup, library, image, values.get("s_SSEG", 0), values)


def _check_coverage(image, modules, library):
    """Every byte of the image belongs to exactly one piece of code."""
    owners = {}
    ranges = [(p.start, p.end) for m in modules for p in m.pieces]
    ranges += [(start, end) for _, start, end, _ in library]
    for start, end in ranges:
        for address in range(start, end):
            if address in owners:
                raise ValueError("code byte %04X belongs to two pieces" % address)
            owners[address] = True
    missing = sorted(set(image) - set(owners))
    if missing:
        raise ValueError("code bytes without a module: %s" % ", ".join("%04X" % a for a in missing))
