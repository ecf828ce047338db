// Bringing the adapter into a known state, and the first fill of the panes.
//
// The handshake bytes 0x13, 0x1C, 0x00, 0x02 and 0x17 are each answered by one
// byte (read, not looked at); the full handshake ends with 0x66, which the
// adapter does not answer.
#pragma once

#include <cstdint>

// Device reset, receive purge, time-outs, a 150 ms pause and the full
// handshake, then a clear command for each of the 18 breakpoint slots. On
// success every breakpoint slot is free and the stop request is cleared (1);
// on a link failure the adapter error message and 0.
int InitDebugger();

// The five answered handshake pairs only, after every answer still on its
// way has been let in and thrown away; the combined transfer result.
int SendShortHandshake();
// The device reset, purge, time-outs and pause, then the short handshake.
// Its result is left to the caller (the flash commands do not test it).
int ResetLinkAndShortHandshake();

// Reads the program counter the host has just put in place (reset, image
// load, flash write, an edit of the PC) and shows it in the source views and
// the assembly pane; returns it.
uint16_t ShowTargetPc();
// ShowTargetPc, then UpdateDebugWindows, with one adapter error message at most.
void ShowTargetPcAndRefresh();

// Board Reset: short handshake, the PC shown, every pane refreshed, then
// "Board reset Ok!!". A failed handshake shows the adapter error message
// instead and ends there. 1 or 0.
int BoardReset();

// Init Debugger and Board reset: InitDebugger, every breakpoint removed, the
// PC shown, every pane refreshed, "Init Debugger & Board Reset Ok!!". A
// failed handshake ends after its adapter error message. 1 or 0.
int InitDebuggerAndBoardReset();

// After a project is opened: the host copies, the PC model and the first fill
// of every pane; then the project counts as loaded.
void StartDebugSession();
