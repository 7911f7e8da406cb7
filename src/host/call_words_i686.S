/* void vq_call_words(const void* fn, const uint32_t* words, uint32_t count)  -- cdecl
 *
 * Calls fn with count 32-bit arguments, words[0] first (pushed last, as stdcall and cdecl do).
 * The stack pointer is restored from %ebp afterwards, so the callee may remove its arguments,
 * leave them, or remove a different number of bytes. Every convention preserves %ebp, %ebx,
 * %esi and %edi; they are saved here anyway so the caller's values survive a sloppy callee.
 * The arguments sit on a 16-byte boundary, as compiled callees may assume.
 */
        .text
        .globl  _vq_call_words
        .p2align 4
_vq_call_words:
        pushl   %ebp
        movl    %esp, %ebp
        pushl   %ebx
        pushl   %esi
        pushl   %edi
        movl    12(%ebp), %esi          /* words */
        movl    16(%ebp), %ecx          /* count */
        leal    0(,%ecx,4), %eax
        subl    $64, %esp               /* slack for a callee that removes too many bytes */
        subl    %eax, %esp
        andl    $-16, %esp
        xorl    %edx, %edx
1:      cmpl    %ecx, %edx
        jae     2f
        movl    (%esi,%edx,4), %eax
        movl    %eax, (%esp,%edx,4)
        incl    %edx
        jmp     1b
2:      call    *8(%ebp)
        leal    -12(%ebp), %esp
        popl    %edi
        popl    %esi
        popl    %ebx
        popl    %ebp
        ret
