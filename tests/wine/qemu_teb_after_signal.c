/* A 32-bit Windows program for Wine: a second thread suspends the main
   thread while it runs, reads its context and resumes it. Wine's signal
   handler reloads %fs, the segment of the thread's TEB, so the main thread
   must come back with its own thread id and TEB.

     i686-w64-mingw32-gcc -O2 -static -o teb_after_signal.exe qemu_teb_after_signal.c
     wine teb_after_signal.exe

   Exit code 0: same id and TEB, and the second thread finished. Under
   qemu-i386 7.2, whose threads share one GDT, the main thread comes back
   with the id and TEB of the second thread (the last to set the TLS
   descriptor); its suspension was reported on the second thread's server
   channel, the second thread waits for the context for ever, and the main
   thread's 20-second wait, made on that same channel, never returns: a
   stall with no CPU used. */
#include <windows.h>
#include <stdio.h>

static volatile LONG resumed;

static DWORD WINAPI suspender(void *mainThread)
{
    CONTEXT context;
    SuspendThread(mainThread);
    context.ContextFlags = CONTEXT_CONTROL;
    GetThreadContext(mainThread, &context);
    ResumeThread(mainThread);
    InterlockedExchange(&resumed, 1);
    return 0;
}

int main(void)
{
    HANDLE self, second;
    DWORD idBefore = GetCurrentThreadId(), idAfter, secondId, start;
    NT_TIB *tebBefore = (NT_TIB *)NtCurrentTeb(), *tebAfter;
    BOOL finished;

    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, THREAD_ALL_ACCESS, FALSE, 0);
    second = CreateThread(NULL, 0, suspender, self, 0, &secondId);
    /* Running user code, not waiting, when the suspension comes; the tick
       count is read without a call into Wine's server. */
    start = GetTickCount();
    while (!resumed && GetTickCount() - start < 10000)
        ;
    idAfter = GetCurrentThreadId();
    tebAfter = (NT_TIB *)NtCurrentTeb();
    printf("main thread %04lx, TEB %p; second thread %04lx\n", idBefore, (void *)tebBefore, secondId);
    printf("after the suspension the main thread reads id %04lx, TEB %p\n", idAfter, (void *)tebAfter);
    fflush(stdout);
    finished = WaitForSingleObject(second, 20000) == WAIT_OBJECT_0;
    printf(finished ? "the second thread finished\n" : "the second thread still waits for the main thread's context\n");
    return idAfter == idBefore && tebAfter == tebBefore && finished ? 0 : 1;
}
