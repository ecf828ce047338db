; wait1.a51: a busy wait of about one millisecond

NAME	wait

PUBLIC	w1ms

Wait_ROUTINES	SEGMENT	CODE
	RSEG	Wait_ROUTINES

w1ms:	MOV	R6,#4
TT2:	MOV	R5,#224
TT3:	DJNZ	R5,TT3
	DJNZ	R6,TT2
	RET

	END
