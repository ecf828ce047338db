; Logic and bit operations: ANL/ORL/XRL in every form (on RAM, on B and on a
; port, whose read-modify-write uses the latch), the rotates, SWAP, CPL/CLR A,
; bit addressing in RAM 0x20-0x2F and in bit-addressable SFRs (ACC, B, PSW,
; P1), the carry operations and JB/JNB/JBC. Values come from an LFSR; runs
; forever.
	.area CSEG (ABS,CODE)
	.org 0

	x = 0x33
	y = 0x34
	seed = 0x35

start:
	mov sp,#0x50
	mov seed,#0xa7
loop:
	acall next_random
	mov r2,a
	acall next_random
	mov r3,a
	mov y,a
	mov r0,#y
	mov r1,#x

	; accumulator forms
	mov a,r2
	anl a,r3
	mov a,r2
	anl a,#0x5a
	anl a,y
	mov x,r3
	anl a,@r0
	anl a,@r1
	mov a,r2
	orl a,r3
	orl a,#0x81
	orl a,y
	orl a,@r0
	orl a,@r1
	mov a,r2
	xrl a,r3
	xrl a,#0xff
	xrl a,y
	xrl a,@r0
	xrl a,@r1

	; direct forms on RAM, on B and on P1
	mov a,r3
	mov x,r2
	anl x,a
	orl x,#0x24
	xrl x,a
	anl x,#0xf7
	orl x,a
	xrl x,#0x3c
	mov b,r2
	anl b,#0x0f
	orl b,a
	xrl b,#0x55
	anl b,a
	orl b,#0x80
	xrl b,a
	mov p1,r2
	anl p1,a
	orl p1,#0x11
	xrl p1,a
	mov a,p1
	mov p1,#0xff

	; rotates and friends
	mov a,r2
	rl a
	rr a
	rr a
	rlc a
	rlc a
	rrc a
	swap a
	cpl a
	clr a
	cpl a

	; bits in RAM
	mov 0x20,r2
	mov 0x2f,r3
	setb 0x01
	clr 0x7e
	cpl 0x03
	cpl 0x7f
	mov c,0x05
	mov 0x10,c
	cpl c
	mov 0x11,c
	anl c,0x07
	anl c,/0x78
	orl c,0x7a
	orl c,/0x02
	mov 0x12,c
	jb 0x00,1$
	cpl 0x04
1$:	jnb 0x7c,2$
	cpl 0x06
2$:	jbc 0x01,3$
	setb 0x08
3$:	jbc 0x7b,4$
	clr 0x09
4$:
	; bits in SFRs: the parity follows ACC through bit writes
	mov a,r3
	setb acc.3
	clr acc.6
	cpl acc.0
	mov c,acc.7
	mov b,r2
	cpl b.7
	mov b.0,c
	setb b.4
	jbc b.5,5$
	clr b.1
5$:	jb acc.1,6$
	setb b.2
6$:	jnb b.3,7$
	clr acc.5
7$:	setb psw.5		; F0
	cpl psw.1		; F1
	mov c,psw.5
	clr psw.5
	setb psw.0		; P: read only, follows ACC
	mov psw.0,c
	cpl p1.3
	clr p1.6
	mov c,p1.6
	orl c,p1.0
	anl c,/p1.3
	mov p1.7,c
	jbc p1.0,8$
	setb p1.1
8$:	mov a,p1
	mov p1,#0xff
	cpl c
	clr c
	setb c
	ljmp loop

; Galois LFSR over `seed`; result in A
next_random:
	mov a,seed
	clr c
	rlc a
	jnc 9$
	xrl a,#0x1d
9$:	mov seed,a
	ret
