; The interrupt system: all five sources (INT0 and INT1 triggered from
; software through IE0/IE1 on edge mode, timers 0 and 1, the serial
; transmitter), two priority levels with a high-priority timer 1 nesting into
; the low-priority routines, same-level requests waiting for RETI, enabling
; and disabling through IE and IP, and the serial port sending bytes in modes
; 1 (timer 1 baud rate), 0 and 2. Runs forever.
	.area CSEG (ABS,CODE)
	.org 0
	ljmp start
	.org 0x03
	ljmp int0_isr
	.org 0x0b
	ljmp timer0_isr
	.org 0x13
	ljmp int1_isr
	.org 0x1b
	ljmp timer1_isr
	.org 0x23
	ljmp serial_isr

	t0count = 0x40
	t1count = 0x41
	i0count = 0x42
	i1count = 0x43
	txcount = 0x44
	nest = 0x45

start:
	mov sp,#0x50
	setb it0
	setb it1
	mov tmod,#0x22		; both timers auto-reload
	mov th0,#0x40		; timer 0: every 192 cycles
	mov tl0,#0x40
	mov th1,#0xf4		; timer 1: every 12 cycles (the baud rate too)
	mov tl1,#0xf4
	mov scon,#0x40		; serial mode 1
	setb tr0
	setb tr1
	mov ip,#0x08		; timer 1 high priority
	mov ie,#0x9f
main:
	mov r7,#0
1$:	inc r7
	mov a,r7
	add a,t0count
	mov r6,a
	cjne r7,#40,1$
	setb ie0		; INT0 from software
	nop
	nop
	setb ie1
	mov sbuf,r7
	mov r5,#30
2$:	djnz r5,2$
	; disabled sources wait, enabled ones are taken after the write
	clr ea
	setb ie0
	mov r5,#5
3$:	djnz r5,3$
	setb ea
	nop
	; the serial port in mode 0 and mode 2
	mov scon,#0x00
	mov sbuf,#0x5a
	mov r5,#10
4$:	djnz r5,4$
	mov scon,#0x80
	mov sbuf,#0xa5
	mov r5,#40
5$:	djnz r5,5$
	mov scon,#0x40
	; priorities swapped: timer 0 high, timer 1 low
	mov ip,#0x02
	mov r5,#60
6$:	djnz r5,6$
	mov ip,#0x08
	ljmp main

int0_isr:
	push acc
	inc i0count
	setb ie1		; same level: waits for RETI
	mov a,nest
	inc a
	mov nest,a
	nop
	nop
	dec nest
	pop acc
	reti

int1_isr:
	inc i1count
	reti

timer0_isr:
	push acc
	push psw
	inc t0count
	mov a,t0count
	mov r0,#nest
	inc @r0
	mov r1,#20		; long enough for timer 1 to nest in
7$:	djnz r1,7$
	dec @r0
	pop psw
	pop acc
	reti

timer1_isr:
	inc t1count
	reti

serial_isr:
	jnb ti,8$
	clr ti
	inc txcount
8$:	reti
