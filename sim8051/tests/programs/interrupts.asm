; The interrupt system: all five sources (INT0 and INT1 raised from software
; through IE0/IE1 in edge mode, timers 0 and 1, the serial transmitter), two
; priority levels with a high-priority INT1 nesting into the low-priority
; timer 0 routine, a same-level request waiting for RETI, EA and the enable
; bits, priorities changed on the fly, and the serial port sending in modes 1
; and 3 on timer 1 and in mode 0. Timer 1 interrupts run in a phase of their
; own so that no two requests arrive together, and each byte is sent after
; the previous one is out.
;
; No other interrupt is taken while a byte is sent: the comparison with s51
; aligns the two at every interrupt entry (s51 counts the call to the vector
; as one cycle, the core as two), which would shift the transmitter's count
; of timer 1 overflows. Runs forever.
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
main:
	; phase 1: timer 0 (low), INT0 (low), INT1 (high), serial (low) on
	; timer 1 as the baud rate generator
	mov tmod,#0x22
	mov th0,#0x38		; timer 0: every 200 cycles
	mov tl0,#0x38
	mov th1,#0xfe		; timer 1: baud rate only, no interrupt
	mov tl1,#0xfe
	mov scon,#0x40		; serial mode 1
	mov ip,#0x04		; INT1 high priority
	mov ie,#0x97		; EA, ES, EX1, ET0, EX0
	setb tr1
	setb tr0
	mov r7,#0
1$:	inc r7
	mov a,r7
	add a,t0count
	mov r6,a
	cjne r7,#60,1$
	setb ie0		; INT0 from software, taken after the next instruction
	nop
	nop
	clr et0			; no other interrupt while a byte is sent (see below)
	mov a,txcount
	mov sbuf,r7
2$:	cjne a,txcount,20$	; until the serial routine has seen TI
	sjmp 2$
20$:	setb et0		; a pending timer 0 request is taken after the next instruction
	nop
	nop
	; a disabled source waits until EA is set again
	clr ea
	setb ie0
	mov r5,#5
3$:	djnz r5,3$
	setb ea
	nop
	; serial mode 3 and mode 0
	mov scon,#0xc8
	clr et0
	mov a,txcount
	mov sbuf,#0x5a
4$:	cjne a,txcount,40$
	sjmp 4$
40$:	mov scon,#0x00
	mov a,txcount
	mov sbuf,#0xa5
5$:	cjne a,txcount,50$
	sjmp 5$
50$:	setb et0
	clr tr0
	clr tr1
	clr tf0
	mov ie,#0x00

	; phase 2: timer 1 alone (16-bit), high priority, and INT0 low
	mov tmod,#0x10
	mov th1,#0xfe
	mov tl1,#0xd0
	mov ip,#0x08
	mov ie,#0x89		; EA, ET1, EX0
	setb tr1
	mov r5,#150
6$:	djnz r5,6$
	setb ie0
	mov r5,#150
7$:	djnz r5,7$
	clr tr1
	clr tf1
	mov ie,#0x00
	ljmp main

int0_isr:
	push acc
	inc i0count
	mov a,i0count
	jnb acc.0,10$
	setb ie0		; on every other entry: the same request again waits for RETI
10$:	mov a,nest
	inc a
	mov nest,a
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
	anl a,#3
	jnz 8$
	setb ie1		; high priority: nests into this routine
8$:	mov r0,#nest
	inc @r0
	dec @r0
	pop psw
	pop acc
	reti

timer1_isr:
	push acc
	inc t1count
	mov tl1,#0xd0		; reload (16-bit mode)
	mov th1,#0xfe
	pop acc
	reti

serial_isr:
	jnb ti,9$
	clr ti
	inc txcount
9$:	reti
