; Arithmetic flag corners: a pseudo-random phase with immediate operands,
; then ADD, ADDC, SUBB in every addressing mode, DA, MUL, DIV (including
; division by zero), INC/DEC and CJNE carry over every pair of a table of
; corner values with the carry clear and set. Runs forever.
	.area CSEG (ABS,CODE)
	.org 0

	va = 0x30		; first operand
	vb = 0x31		; second operand
	seed = 0x32

start:
	mov sp,#0x60
	mov seed,#0x5b
pass:
	ljmp random
corner_walk:
	mov r2,#0
loop_a:
	mov r3,#0
loop_b:
	mov dptr,#corners
	mov a,r2
	movc a,@a+dptr
	mov va,a
	mov a,r3
	movc a,@a+dptr
	mov vb,a
	mov r5,a
	mov r0,#vb
	mov r1,#vb

	; ADD: carry in ignored
	clr c
	mov a,va
	add a,r5
	setb c
	mov a,va
	add a,vb
	mov a,va
	add a,@r0
	da a
	mov a,va
	add a,@r1

	; ADDC with carry clear and set, then decimal adjust
	clr c
	mov a,va
	addc a,r5
	da a
	setb c
	mov a,va
	addc a,vb
	da a
	clr c
	mov a,va
	addc a,@r0
	setb c
	mov a,va
	addc a,@r1
	da a

	; SUBB with borrow clear and set
	clr c
	mov a,va
	subb a,r5
	setb c
	mov a,va
	subb a,vb
	clr c
	mov a,va
	subb a,@r0
	setb c
	mov a,va
	subb a,@r1

	; MUL and DIV (B = 0 included)
	setb c
	mov a,va
	mov b,vb
	mul ab
	setb c
	mov a,va
	mov b,vb
	div ab

	; CJNE carry in all forms
	mov a,va
	cjne a,vb,1$
1$:	cjne a,#0x80,2$
2$:	mov r4,va
	cjne r4,#0x10,3$
3$:	mov r0,#va
	cjne @r0,#0x7f,4$
4$:	mov r0,#vb
	cjne @r0,#0x00,5$
5$:
	; INC/DEC leave the flags alone
	mov a,va
	inc a
	dec a
	dec a
	inc va
	dec vb
	inc @r0
	dec @r1
	inc r5
	dec r5

	inc r3
	cjne r3,#16,loop_b_far
	inc r2
	cjne r2,#16,loop_a_far
	ljmp pass

loop_b_far:
	ljmp loop_b
loop_a_far:
	ljmp loop_a

	; Pseudo-random values through every immediate form
random:
	mov r6,#120
rnd_loop:
	acall next_random
	mov r2,a
	acall next_random
	mov c,acc.0
	mov a,r2
	add a,#0x99
	da a
	addc a,#0x66
	da a
	subb a,#0x7f
	addc a,#0x80
	subb a,#0x01
	add a,#0x0f
	da a
	mov b,r2
	mul ab
	mov b,#7
	div ab
	mov b,a
	mov a,r2
	div ab
	cjne a,#0x40,6$
6$:	djnz r6,rnd_loop
	ljmp corner_walk

; Galois LFSR over `seed`; result in A
next_random:
	mov a,seed
	clr c
	rlc a
	jnc 7$
	xrl a,#0x1d
7$:	mov seed,a
	ret

corners:
	.db 0x00, 0x01, 0x0f, 0x10, 0x7f, 0x80, 0x81, 0xff
	.db 0x09, 0x99, 0x50, 0x8f, 0xf0, 0x3c, 0x66, 0xa5
