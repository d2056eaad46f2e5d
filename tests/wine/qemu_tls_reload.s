# Two threads of a 32-bit x86 program put different bases into one TLS
# descriptor (set_thread_area); the first then reloads %fs and reads its TLS
# word. Exit code 0: its own word, as on Linux; 1: the other thread's (qemu-i386
# 7.2, whose threads share one GDT). as --32, then ld -m elf_i386.
        .globl _start
        .text
_start:
        movl $243, %eax                 # set_thread_area(&first)
        leal first, %ebx
        int $0x80
        movl first, %eax                # selector = entry * 8 + 3
        leal 3(,%eax,8), %eax
        movw %ax, %fs
        movl first, %eax                # the second thread asks for the same entry
        movl %eax, second
        movl $120, %eax                 # clone(VM|FS|FILES|SIGHAND|THREAD|SYSVSEM, stack_top)
        movl $0x50f00, %ebx
        leal stack_top, %ecx
        xorl %edx, %edx
        xorl %esi, %esi
        xorl %edi, %edi
        int $0x80
        testl %eax, %eax
        jz thread
wait:   cmpl $0, done
        je wait
        movw %fs, %ax                   # reload the segment
        movw %ax, %fs
        movl %fs:0, %ebx
        xorl %eax, %eax
        cmpl $0xaaaa, %ebx
        setne %al
        movl %eax, %ebx
        movl $252, %eax                 # exit_group
        int $0x80
thread:
        movl $243, %eax                 # set_thread_area(&second)
        leal second, %ebx
        int $0x80
        movl second, %eax
        leal 3(,%eax,8), %eax
        movw %ax, %fs
        movl $1, done
park:   movl $29, %eax                  # pause
        int $0x80
        jmp park

        .data
first:  .long -1, word_a, 0xfffff, 0x51
second: .long -1, word_b, 0xfffff, 0x51
word_a: .long 0xaaaa
word_b: .long 0xbbbb
done:   .long 0
        .bss
        .align 16
stack:  .space 4096
stack_top:
