// What the flash pane's read and write commands do on the target.
//
// `dataFlash` is the state of the pane's data-flash check box. The read and
// write commands act only while a project is loaded and no worker owns the
// target; otherwise they show an information message.
#pragma once

// Reads the code flash (64 KB) into its host copy, or the data flash, and
// has the pane redraw. 1 when the read succeeded.
int RefreshFlash(bool dataFlash);
// The pane's read command: RefreshFlash with progress 0-100.
int FlashPaneRead(bool dataFlash);
// The pane's write command. The code flash is erased, programmed with all
// 65536 bytes of its host copy, read back (progress 70-100) and compared:
// "Flash Write OK!!" or "Flash Write Fail!!". 1 after the OK message. The
// run commands then run the written bytes: a target that held the project's
// image before the write still counts as holding it.
int FlashPaneWrite(bool dataFlash);

// Reads the 255 bytes of the data flash into the data-flash buffer. 1 or 0.
int ReadDataFlash();
// Erases the data flash and programs the 255 bytes of the data-flash buffer.
// 1 after "Data Flash Write OK!!".
int WriteDataFlash();
