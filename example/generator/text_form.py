"""Texts shared by the map and listing writers."""

# A fixed date keeps the generated files the same from run to run.
HEADER_DATE = "01/15/2024  10:00:00"
PROJECT = "Blinky"


def data_size(program):
    """Bytes of internal data: up to the end of the last variable or local."""
    end = 8
    for module in program.modules:
        for variable in module.variables:
            if variable.space == "DATA":
                end = max(end, variable.address + variable.size)
        for function in module.functions:
            for local in function.locals:
                end = max(end, local.address + local.size)
    return end


def xdata_size(program):
    return sum(v.size for m in program.modules for v in m.variables if v.space == "XDATA")


def code_size(program):
    return len(program.image)


def program_size(program, with_const):
    const = " const=0" if with_const else ""
    return "data=%d.0 xdata=%d%s code=%d" % (data_size(program), xdata_size(program), const,
                                             code_size(program))
