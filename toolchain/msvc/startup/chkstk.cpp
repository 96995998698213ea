// Stands in for __chkstk of Visual C++'s static runtime (chkstk.asm): called
// by a function whose frame exceeds a page, with the frame size in RAX; it
// touches each page of the new frame in order, so the guard page moves down
// one page at a time, and preserves every register but R10 and R11.
__asm__(
    ".text\n"
    ".globl __chkstk\n"
    ".p2align 4\n"
    "__chkstk:\n"
    "    pushq %rcx\n"
    "    pushq %rax\n"
    "    cmpq $0x1000, %rax\n"
    "    leaq 24(%rsp), %rcx\n"
    "    jb 1f\n"
    "2:\n"
    "    subq $0x1000, %rcx\n"
    "    orq $0, (%rcx)\n"
    "    subq $0x1000, %rax\n"
    "    cmpq $0x1000, %rax\n"
    "    ja 2b\n"
    "1:\n"
    "    subq %rax, %rcx\n"
    "    orq $0, (%rcx)\n"
    "    popq %rax\n"
    "    popq %rcx\n"
    "    retq\n");
