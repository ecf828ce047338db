; Data moves, register banks, the stack, external and code memory, and
; every jump and call: each Rn and @Ri form in each of the four banks, XCH
; and XCHD, PUSH/POP (PUSH SP and POP SP included), MOVX through DPTR and
; through @Ri with P2 as the high byte, MOVC both ways, JMP @A+DPTR, and
; AJMP/ACALL in all eight forms, also from the last bytes of a 2 KB page into
; the next page. Runs forever.
	.area CSEG (ABS,CODE)
	.org 0

	count = 0x30
	scratch = 0x40

start:
	mov sp,#0x50
	mov count,#0
main:
	mov a,count		; bank = count mod 4
	anl a,#3
	swap a
	rr a
	mov psw,a
	lcall all_registers
	lcall indirect
	lcall moves
	lcall stack
	lcall external
	lcall jumps
	lcall page_hops
	inc count
	ljmp main

; Every Rn form with R0..R7 of the current bank
all_registers:
	mov r0,#0x35
	inc r0
	dec r0
	mov a,#0x5c
	add a,r0
	addc a,r0
	orl a,r0
	anl a,r0
	xrl a,r0
	subb a,r0
	mov scratch,r0
	mov r0,scratch+1
	cjne r0,#0x22,ar0_1
ar0_1:	xch a,r0
	mov a,r0
	mov r0,a
	mov r0,#3
ar0_2:	djnz r0,ar0_2
	mov r0,count
	mov r1,#0x52
	inc r1
	dec r1
	mov a,#0x5c
	add a,r1
	addc a,r1
	orl a,r1
	anl a,r1
	xrl a,r1
	subb a,r1
	mov scratch,r1
	mov r1,scratch+1
	cjne r1,#0x22,ar1_1
ar1_1:	xch a,r1
	mov a,r1
	mov r1,a
	mov r1,#3
ar1_2:	djnz r1,ar1_2
	mov r1,count
	mov r2,#0x6f
	inc r2
	dec r2
	mov a,#0x5c
	add a,r2
	addc a,r2
	orl a,r2
	anl a,r2
	xrl a,r2
	subb a,r2
	mov scratch,r2
	mov r2,scratch+1
	cjne r2,#0x22,ar2_1
ar2_1:	xch a,r2
	mov a,r2
	mov r2,a
	mov r2,#3
ar2_2:	djnz r2,ar2_2
	mov r2,count
	mov r3,#0x8c
	inc r3
	dec r3
	mov a,#0x5c
	add a,r3
	addc a,r3
	orl a,r3
	anl a,r3
	xrl a,r3
	subb a,r3
	mov scratch,r3
	mov r3,scratch+1
	cjne r3,#0x22,ar3_1
ar3_1:	xch a,r3
	mov a,r3
	mov r3,a
	mov r3,#3
ar3_2:	djnz r3,ar3_2
	mov r3,count
	mov r4,#0xa9
	inc r4
	dec r4
	mov a,#0x5c
	add a,r4
	addc a,r4
	orl a,r4
	anl a,r4
	xrl a,r4
	subb a,r4
	mov scratch,r4
	mov r4,scratch+1
	cjne r4,#0x22,ar4_1
ar4_1:	xch a,r4
	mov a,r4
	mov r4,a
	mov r4,#3
ar4_2:	djnz r4,ar4_2
	mov r4,count
	mov r5,#0xc6
	inc r5
	dec r5
	mov a,#0x5c
	add a,r5
	addc a,r5
	orl a,r5
	anl a,r5
	xrl a,r5
	subb a,r5
	mov scratch,r5
	mov r5,scratch+1
	cjne r5,#0x22,ar5_1
ar5_1:	xch a,r5
	mov a,r5
	mov r5,a
	mov r5,#3
ar5_2:	djnz r5,ar5_2
	mov r5,count
	mov r6,#0xe3
	inc r6
	dec r6
	mov a,#0x5c
	add a,r6
	addc a,r6
	orl a,r6
	anl a,r6
	xrl a,r6
	subb a,r6
	mov scratch,r6
	mov r6,scratch+1
	cjne r6,#0x22,ar6_1
ar6_1:	xch a,r6
	mov a,r6
	mov r6,a
	mov r6,#3
ar6_2:	djnz r6,ar6_2
	mov r6,count
	mov r7,#0x00
	inc r7
	dec r7
	mov a,#0x5c
	add a,r7
	addc a,r7
	orl a,r7
	anl a,r7
	xrl a,r7
	subb a,r7
	mov scratch,r7
	mov r7,scratch+1
	cjne r7,#0x22,ar7_1
ar7_1:	xch a,r7
	mov a,r7
	mov r7,a
	mov r7,#3
ar7_2:	djnz r7,ar7_2
	mov r7,count
	ret

; Every @Ri form with R0 and R1 of the current bank
indirect:
	mov r0,#scratch+2+0
	mov @r0,#0x99
	inc @r0
	dec @r0
	mov a,#0x37
	add a,@r0
	addc a,@r0
	orl a,@r0
	anl a,@r0
	xrl a,@r0
	subb a,@r0
	mov scratch+4,@r0
	mov @r0,count
	cjne @r0,#0x10,ai0_1
ai0_1:	xch a,@r0
	xchd a,@r0
	mov a,@r0
	add a,#0x21
	mov @r0,a
	mov p2,#0x21
	movx @r0,a
	mov a,#0
	movx a,@r0
	mov r1,#scratch+2+1
	mov @r1,#0x99
	inc @r1
	dec @r1
	mov a,#0x37
	add a,@r1
	addc a,@r1
	orl a,@r1
	anl a,@r1
	xrl a,@r1
	subb a,@r1
	mov scratch+4,@r1
	mov @r1,count
	cjne @r1,#0x10,ai1_1
ai1_1:	xch a,@r1
	xchd a,@r1
	mov a,@r1
	add a,#0x21
	mov @r1,a
	mov p2,#0x22
	movx @r1,a
	mov a,#0
	movx a,@r1
	mov p2,#0xff
	ret

; Direct and immediate moves, XCH with a direct byte, MOVC both ways
moves:
	mov a,#0x3c
	mov scratch+5,a
	mov scratch+6,scratch+5
	mov scratch+7,#0x81
	mov a,scratch+7
	xch a,scratch+6
	mov b,a
	mov dpl,b
	mov dph,#0x01
	mov a,count
	anl a,#3
	movc a,@a+pc
	sjmp 1$
	.db 0x11, 0x22, 0x33, 0x44
1$:	mov dptr,#table
	mov a,count
	anl a,#7
	movc a,@a+dptr
	mov scratch+8,a
	mov a,#0
	movc a,@a+dptr
	ret

table:
	.db 0x01, 0x80, 0x7f, 0xfe, 0x55, 0xaa, 0x00, 0xff

; PUSH and POP of registers and SFRs; PUSH SP stores the incremented SP,
; POP SP leaves SP at the value popped
stack:
	push acc
	push b
	push psw
	push dpl
	push dph
	push scratch
	mov a,#0xff
	mov psw,#0x80
	pop scratch+9
	pop dph
	pop dpl
	pop psw
	pop b
	pop acc
	push sp
	pop scratch+10
	mov a,sp
	push acc
	pop sp
	ret

; MOVX through DPTR, INC DPTR carrying into DPH and wrapping at 0xFFFF
external:
	mov dptr,#0x12fe
	mov a,count
	movx @dptr,a
	inc dptr
	inc dptr
	movx @dptr,a
	mov dptr,#0x12fe
	movx a,@dptr
	mov r2,a
	mov p2,#0x13
	mov r0,#0x00
	movx a,@r0
	mov p2,#0xff
	mov dptr,#0xffff
	inc dptr
	mov dptr,#0x00ff
	inc dptr
	ret

; Conditional jumps taken and not taken, SJMP, JMP @A+DPTR, DJNZ direct
jumps:
	clr a
	jz 1$
	nop
1$:	jnz 2$
	inc a
	jnz 2$
	nop
2$:	clr c
	jc 3$
	jnc 3$
	nop
3$:	setb c
	jnc 4$
	jc 4$
	nop
4$:	mov scratch+11,#3
5$:	djnz scratch+11,5$
	mov dptr,#jump_table
	mov a,count
	anl a,#3
	rl a
	jmp @a+dptr
jump_table:
	ajmp 6$
	ajmp 7$
	ajmp 8$
	ajmp 9$
6$:	inc a
7$:	inc a
8$:	inc a
9$:	sjmp 10$
	nop
10$:	ret

; AJMP and ACALL in all eight encodings: stops at the start of each 256-byte
; block of the 2 KB page at 0x0800
page_hops:
	ljmp hop0

	.org 0x0800
hop0:
	acall sub0
	ajmp hop1
	.org 0x0840
sub0:
	inc scratch+12
	ret
	.org 0x0880
last:
	ljmp page_end
	.org 0x0900
hop1:
	acall sub1
	ajmp hop2
	.org 0x0940
sub1:
	inc scratch+12
	ret
	.org 0x0a00
hop2:
	acall sub2
	ajmp hop3
	.org 0x0a40
sub2:
	inc scratch+12
	ret
	.org 0x0b00
hop3:
	acall sub3
	ajmp hop4
	.org 0x0b40
sub3:
	inc scratch+12
	ret
	.org 0x0c00
hop4:
	acall sub4
	ajmp hop5
	.org 0x0c40
sub4:
	inc scratch+12
	ret
	.org 0x0d00
hop5:
	acall sub5
	ajmp hop6
	.org 0x0d40
sub5:
	inc scratch+12
	ret
	.org 0x0e00
hop6:
	acall sub6
	ajmp hop7
	.org 0x0e40
sub6:
	inc scratch+12
	ret
	.org 0x0f00
hop7:
	acall sub7
	ajmp last
	.org 0x0f40
sub7:
	inc scratch+12
	ret

; AJMP from the last two bytes of a page: the target is in the next page.
; Written as bytes because the linker takes the page from the instruction's
; own address instead of the address after it.
	.org 0x0ffe
page_end:
	.db 0x01, 0x10		; ajmp next_page (0x1010)
	.org 0x1010
next_page:
	ljmp page_end2

; ACALL from the last two bytes of a page: the call lands in the next page
; and returns to its first byte
	.org 0x17fe
page_end2:
	.db 0x11, 0x20		; acall far_sub (0x1820)
	ret
	.org 0x1820
far_sub:
	inc scratch+13
	ret

