; Timers 0 and 1 polled, without interrupts: modes 0 to 3, auto-reload,
; the 13-bit mode with TL's upper bits set, the split timer 0 of mode 3
; (TH0 runs on TR1 and sets TF1), GATE with the INT pins high, counter mode
; (the pins never toggle, so nothing is counted), and starting and stopping.
; Runs forever.
	.area CSEG (ABS,CODE)
	.org 0

start:
	mov sp,#0x50
loop:
	; timer 0 in mode 1, timer 1 in mode 2
	mov tmod,#0x21
	mov th0,#0xff
	mov tl0,#0xc0
	mov th1,#0xf0
	mov tl1,#0xf0
	setb tr0
	setb tr1
1$:	jnb tf0,1$
	clr tf0
	mov r2,#20
2$:	jnb tf1,2$
	clr tf1
	djnz r2,2$
	clr tr0
	clr tr1
	clr tf0
	clr tf1

	; mode 0 on both, TL with its upper three bits set
	mov tmod,#0x00
	mov th0,#0xfe
	mov tl0,#0xe0
	mov th1,#0xff
	mov tl1,#0x10
	setb tr1
	setb tr0
3$:	jnb tf0,3$
4$:	jnb tf1,4$
	clr tr0
	clr tr1
	clr tf0
	clr tf1

	; timer 0 in mode 3: TL0 on TR0 and TF0, TH0 on TR1 and TF1. TR1 is set
	; before timer 0 enters mode 3 and cleared after it leaves: meanwhile
	; timer 1 runs whatever TR1 says (TR1 belongs to TH0), while s51 still
	; gates timer 1 with TR1, so the two would part if TR1 were clear.
	mov th1,#0x80
	mov tl1,#0x80
	mov tl0,#0xf0
	mov th0,#0xe0
	setb tr1
	mov tmod,#0x23
	setb tr0
5$:	jnb tf1,5$
6$:	jnb tf0,6$
	clr tr0
	mov r2,#10
7$:	djnz r2,7$
	mov tmod,#0x20
	clr tr1
	clr tf0
	clr tf1

	; timer 1 in mode 3 holds its count
	mov tmod,#0x31
	mov tl1,#0x12
	mov th1,#0x34
	setb tr1
	mov r2,#5
8$:	djnz r2,8$
	clr tr1

	; GATE: the INT pins are high, so the timers run
	mov tmod,#0x99
	mov th0,#0xff
	mov tl0,#0xe0
	mov th1,#0xff
	mov tl1,#0xd0
	setb tr0
	setb tr1
9$:	jnb tf1,9$
	clr tr0
	clr tr1
	clr tf0
	clr tf1

	; counter mode: nothing arrives on T0 and T1
	mov tmod,#0x55
	mov th0,#0xff
	mov tl0,#0xff
	setb tr0
	setb tr1
	mov r2,#10
10$:	djnz r2,10$
	clr tr0
	clr tr1

	; mode 2 with TH = 0xFF: an overflow every machine cycle
	mov tmod,#0x22
	mov th0,#0xff
	mov tl0,#0xfe
	setb tr0
	mul ab
	div ab
	nop
	clr tr0
	clr tf0
	ljmp loop
