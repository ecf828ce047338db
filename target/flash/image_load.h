// Programming the project's Intel HEX image into the code flash and checking
// that the target still holds it.
#pragma once

#include <cstdint>

// 1 when the target's code memory from address 0 through the image's highest
// address equals the image at g_strHexPath (an image without data gives 1
// without reading). 0 when the file cannot be read or is malformed, when the
// code memory cannot be read, or on a difference. Shows no message of its own.
int VerifyImage();

// Image Load: erases the chip, programs every data record of the image at
// g_strHexPath (one packet per record), reads the flash back and compares it,
// then shows the PC and refreshes every pane. `imageSizeEstimate` (the highest
// code address of the disassembly + 16, 0 when unknown) scales the progress:
// 0-70 while programming, 70-100 while comparing. A file that cannot be read
// does nothing; a malformed file is refused with a message before anything is
// sent. 1 after "Flash Write OK!!", else 0.
int ImageLoad(uint32_t imageSizeEstimate);

// Erases the whole code flash and checks that its first 1024 bytes read blank.
// "Flash erase fail!!" when they do not; 0 then, and after a link failure.
// The target no longer counts as holding the project's image.
int EraseCodeFlash();
