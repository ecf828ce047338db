; 8052 internal RAM: @R0/@R1 and the stack reach 0x80-0xFF, while direct
; addresses 0x80-0xFF stay the SFRs. Runs forever.
	.area CSEG (ABS,CODE)
	.org 0

start:
	mov sp,#0xc0		; the stack above 0x80; data in 0x80-0xBF
	mov r0,#0x80
	mov r1,#0xbf
loop:
	mov a,r0
	mov @r0,a		; 0x80-0xFF by address
	xrl a,#0x5a
	mov @r1,a
	inc @r0
	dec @r1
	mov a,@r0
	add a,@r1
	xch a,@r1
	xchd a,@r0
	push acc		; stack in upper RAM
	push 0x81		; SP itself
	mov 0x90,@r0		; direct 0x90 is P1, not RAM
	mov @r1,0x90
	pop b
	pop acc
	acall nested
	inc r0
	cjne r0,#0xc0,1$
	mov r0,#0x80
1$:	dec r1
	cjne r1,#0x7f,loop
	mov r1,#0xbf
	sjmp loop

nested:
	mov a,sp
	mov r2,a
	acall inner
	ret
inner:
	mov a,@r0
	cpl a
	mov @r0,a
	ret
