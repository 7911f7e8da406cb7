/* uint32_t vq_call_checked(const void* fn, const uint32_t* words, uint32_t count,
 *                          uint32_t removes, uint32_t misalign, uint32_t* result)  -- cdecl
 *
 * Calls fn with count arguments on a stack whose pointer is misalign bytes below a 16-byte
 * boundary at the call, the way a host that keeps only 4-byte alignment does. Stores fn's %eax
 * in *result and returns a mask of broken promises:
 *   1 %ebx, 2 %esi, 4 %edi changed; 8 fn did not remove exactly removes bytes of arguments
 *   (4 * count for stdcall, 0 for cdecl).
 */
        .text
        .globl  _vq_call_checked
        .p2align 4
_vq_call_checked:
        pushl   %ebp
        movl    %esp, %ebp
        pushl   %ebx
        pushl   %esi
        pushl   %edi
        subl    $4, %esp                /* -16(%ebp): where %esp must be after the call */
        movl    12(%ebp), %esi          /* words */
        movl    16(%ebp), %ecx          /* count */
        leal    0(,%ecx,4), %eax
        subl    $64, %esp
        subl    %eax, %esp
        andl    $-16, %esp
        subl    24(%ebp), %esp          /* misalign */
        movl    20(%ebp), %edx          /* removes */
        addl    %esp, %edx
        movl    %edx, -16(%ebp)
        xorl    %edx, %edx
1:      cmpl    %ecx, %edx
        jae     2f
        movl    (%esi,%edx,4), %eax
        movl    %eax, (%esp,%edx,4)
        incl    %edx
        jmp     1b
2:      movl    $0x11111111, %ebx
        movl    $0x22222222, %esi
        movl    $0x33333333, %edi
        call    *8(%ebp)
        xorl    %ecx, %ecx
        cmpl    $0x11111111, %ebx
        je      3f
        orl     $1, %ecx
3:      cmpl    $0x22222222, %esi
        je      4f
        orl     $2, %ecx
4:      cmpl    $0x33333333, %edi
        je      5f
        orl     $4, %ecx
5:      cmpl    -16(%ebp), %esp
        je      6f
        orl     $8, %ecx
6:      movl    28(%ebp), %edx
        movl    %eax, (%edx)
        movl    %ecx, %eax
        leal    -12(%ebp), %esp
        popl    %edi
        popl    %esi
        popl    %ebx
        popl    %ebp
        ret
