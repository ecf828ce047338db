// A small linker map read once per input by the listing fuzz targets: two C
// modules (MAIN with a block-scoped local, UTIL with a parameter and a local)
// and the start-up module, so that listing lines can name real records.
#pragma once

#include <memory>
#include <string>

#include "m51_reader.h"
#include "map_loader.h"
#include "symbol_table.h"
#include "xdata_range.h"

namespace fuzz_sample {

constexpr const char* kSampleMap =
    R"MAP(BL51 BANKED LINKER/LOCATER V5.12                                                        01/15/2024  10:00:00  PAGE 1


BL51 BANKED LINKER/LOCATER V5.12, INVOKED BY:
C:\KEIL\C51\BIN\BL51.EXE STARTUP.obj, main.obj, .\src\util.obj TO demo RAMSIZE (256)


MEMORY MODEL: SMALL


INPUT MODULES INCLUDED:
  STARTUP.obj (?C_STARTUP)
  main.obj (MAIN)
  .\src\util.obj (UTIL)


LINK MAP OF MODULE:  demo (?C_STARTUP)


            TYPE    BASE      LENGTH    RELOCATION   SEGMENT NAME
            -----------------------------------------------------

            * * * * * * *   D A T A   M E M O R Y   * * * * * * *
            REG     0000H     0008H     ABSOLUTE     "REG BANK 0"
            DATA    0008H     0001H     UNIT         ?DT?MAIN
            DATA    0009H     0002H     UNIT         ?DT?UTIL
            DATA    000BH     0003H     UNIT         ?DT?_TWICE?UTIL
            IDATA   000EH     0001H     UNIT         ?STACK

            * * * * * * *  X D A T A   M E M O R Y  * * * * * * *
            XDATA   0000H     0008H     UNIT         ?XD?MAIN
            XDATA   0008H     0002H     UNIT         ?XD?_TWICE?UTIL

            * * * * * * *   C O D E   M E M O R Y   * * * * * * *
            CODE    0000H     0003H     ABSOLUTE     
            CODE    0003H     0025H     UNIT         ?PR?MAIN?MAIN
            CODE    0028H     0016H     UNIT         ?PR?_TWICE?UTIL
            CODE    003EH     000CH     UNIT         ?C_C51STARTUP



OVERLAY MAP OF MODULE:   demo (?C_STARTUP)


SEGMENT
  +--> CALLED SEGMENT
---------------------
?C_C51STARTUP
  +--> ?PR?MAIN?MAIN

?PR?MAIN?MAIN
  +--> ?PR?_TWICE?UTIL



SYMBOL TABLE OF MODULE:  demo (?C_STARTUP)

  VALUE           TYPE          NAME
  ----------------------------------

  -------         MODULE        ?C_STARTUP
  C:003EH         SEGMENT       ?C_C51STARTUP
  I:000EH         SEGMENT       ?STACK
  C:0000H         PUBLIC        ?C_STARTUP
  D:0081H         SYMBOL        SP
  N:0080H         SYMBOL        IDATALEN
  C:0041H         SYMBOL        IDATALOOP
  C:003EH         SYMBOL        STARTUP1
  C:0000H         LINE#         92
  C:003EH         LINE#         99
  C:0040H         LINE#         100
  C:0041H         LINE#         101
  C:0042H         LINE#         102
  C:0044H         LINE#         151
  C:0047H         LINE#         152
  -------         ENDMOD        ?C_STARTUP

  -------         MODULE        MAIN
  D:0090H         PUBLIC        P1
  D:0008H         PUBLIC        counter
  X:0000H         PUBLIC        buf
  C:0003H         PUBLIC        main
  -------         PROC          MAIN
  -------         DO
  D:0007H         SYMBOL        i
  -------         ENDDO
  C:0003H         LINE#         7
  C:0003H         LINE#         8
  C:0003H         LINE#         10
  C:0006H         LINE#         11
  C:0007H         LINE#         13
  C:0018H         LINE#         11
BL51 BANKED LINKER/LOCATER V5.12                                                      01/15/2024  10:00:00  PAGE 2


  C:001EH         LINE#         17
  C:0025H         LINE#         18
  C:0027H         LINE#         19
  -------         ENDPROC       MAIN
  -------         ENDMOD        MAIN

  -------         MODULE        UTIL
  D:0090H         PUBLIC        P1
  D:0009H         PUBLIC        total
  C:0028H         PUBLIC        _Twice
  -------         PROC          _TWICE
  D:000BH         SYMBOL        v
  -------         DO
  D:000CH         SYMBOL        r
  -------         ENDDO
  C:0028H         LINE#         5
  C:0028H         LINE#         6
  C:002AH         LINE#         8
  C:0030H         LINE#         9
  C:0039H         LINE#         10
  C:003DH         LINE#         11
  -------         ENDPROC       _TWICE
  -------         ENDMOD        UTIL

Program Size: data=15.0 xdata=10 code=74
LINK/LOCATE RUN COMPLETE.  0 WARNING(S),  0 ERROR(S)
)MAP";

// The sample map with the tables its reading filled.
struct SampleMap {
    MapLoader loader;
    CSymbolTable table;
    CSymbolDatabase database;
};

inline std::unique_ptr<SampleMap> ReadSampleMap() {
    auto map = std::make_unique<SampleMap>();
    map->loader.AssignText("SAMPLE.M51", kSampleMap);
    SplitTextLines(map->loader);
    ResetXdataRange();
    ParseM51File(map->loader, map->table, map->database, "/nonexistent-fuzz-folder");
    return map;
}

} // namespace fuzz_sample
