// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "NoDiskWaits.h"

#include <cstddef>
#include <iterator>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <vector>

namespace {
#if defined(__x86_64__)
constexpr unsigned kArchitecture = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
constexpr unsigned kArchitecture = AUDIT_ARCH_AARCH64;
#else
constexpr unsigned kArchitecture = 0; // not known here: the office syncs
#endif

constexpr unsigned kReturnZero = SECCOMP_RET_ERRNO | 0; // no error: the call "succeeded"

// The calls that wait until a file is on the disk.
constexpr long kDiskWaits[] = {SYS_fsync, SYS_fdatasync, SYS_sync_file_range, SYS_syncfs, SYS_sync};
constexpr unsigned char kCount = std::size(kDiskWaits);
} // namespace

void skipDiskWaits() {
    if (kArchitecture == 0)
        return;
    // A filter answers a call by its number, so it first makes sure the numbers are this
    // processor's: a call of another one passes untouched.
    std::vector<sock_filter> program = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kArchitecture, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
    };
    // Each disk wait jumps past the remaining comparisons and the allowing return.
    for (unsigned char i = 0; i < kCount; ++i)
        program.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, unsigned(kDiskWaits[i]),
                                   static_cast<unsigned char>(kCount - i), 0));
    program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    program.push_back(BPF_STMT(BPF_RET | BPF_K, kReturnZero));
    const sock_fprog filter{static_cast<unsigned short>(program.size()), program.data()};
    // A filter may only be set by a process that cannot gain privileges on exec; the office
    // never needs to. Refused, the office syncs as before.
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0)
        ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter);
}
