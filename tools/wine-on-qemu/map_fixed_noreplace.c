/*
 * Preloaded into 32-bit Wine when it runs under qemu-i386 (kernels booted
 * without 32-bit emulation). Wine reserves its address space with
 * MAP_FIXED_NOREPLACE, which qemu-user 7.2 passes on as a mere hint: every
 * reservation lands elsewhere, and Wine retries in 64 KB steps across 4 GB,
 * a minute per process. Here the flag gets its kernel meaning back: the
 * range is mapped in place when the guest's maps show it free, else EEXIST.
 *
 * Built with -nostdlib (no 32-bit C library to link against is needed):
 * syscall and __errno_location come from the guest's libc at run time.
 */
typedef unsigned long ulong;

extern long syscall(long number, ...);
extern int* __errno_location(void);

enum {
    kSysRead = 3,
    kSysOpen = 5,
    kSysClose = 6,
    kSysMmap2 = 192,
    kMapFixed = 0x10,
    kMapFixedNoReplace = 0x100000,
    kPageMask = 0xfff,
    kPageShift = 12,
    kErrorExists = 17,
    kErrorInvalid = 22,
};

static char g_maps[1 << 20];
static volatile int g_mapsBusy;   /* one reader of g_maps at a time: Wine maps from several threads */

static ulong ReadHex(const char** at) {
    ulong value = 0;
    for (;;) {
        char c = **at;
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0) return value;
        value = value * 16 + (ulong)digit;
        ++*at;
    }
}

/* True when no mapping of this process overlaps [start, start + length). */
static int RangeIsFree(ulong start, ulong length) {
    long file = syscall(kSysOpen, "/proc/self/maps", 0);
    if (file < 0) return 0;
    long total = 0, read;
    while (total < (long)sizeof g_maps - 1 &&
           (read = syscall(kSysRead, file, g_maps + total, sizeof g_maps - 1 - total)) > 0) {
        total += read;
    }
    syscall(kSysClose, file);
    g_maps[total] = 0;
    const ulong end = start + length;
    for (const char* at = g_maps; *at;) {
        ulong low = ReadHex(&at);
        if (*at == '-') ++at;
        ulong high = ReadHex(&at);
        if (low < end && high > start) return 0;
        while (*at && *at != '\n') ++at;
        if (*at) ++at;
    }
    return 1;
}

static void* Map(void* address, ulong length, int protection, int flags, int file, unsigned long long offset) {
    if ((flags & kMapFixedNoReplace) && address) {
        while (__sync_lock_test_and_set(&g_mapsBusy, 1)) {
        }
        int free = RangeIsFree((ulong)address, length);
        void* mapped = (void*)-1;
        if (free) {
            flags = (flags & ~kMapFixedNoReplace) | kMapFixed;
            mapped = (void*)syscall(kSysMmap2, address, length, protection, flags, file, (ulong)(offset >> kPageShift));
        }
        __sync_lock_release(&g_mapsBusy);
        if (!free) *__errno_location() = kErrorExists;
        return mapped;
    }
    if (offset & kPageMask) {
        *__errno_location() = kErrorInvalid;
        return (void*)-1;
    }
    return (void*)syscall(kSysMmap2, address, length, protection, flags, file, (ulong)(offset >> kPageShift));
}

void* mmap(void* address, ulong length, int protection, int flags, int file, long offset) {
    return Map(address, length, protection, flags, file, (ulong)offset);
}

void* mmap64(void* address, ulong length, int protection, int flags, int file, long long offset) {
    return Map(address, length, protection, flags, file, (unsigned long long)offset);
}
