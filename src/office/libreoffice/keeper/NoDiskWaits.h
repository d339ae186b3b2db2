// SPDX-FileCopyrightText: 2026 The Festoria developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Makes this process and whatever it starts afterwards (the office) return at once from the
// calls that wait until a file is on the disk (fsync, fdatasync, sync_file_range, syncfs,
// sync), as if they had succeeded.
//
// Everything the office writes goes when the program ends: its profile, its temporary files,
// the working document in the temporary folder, exports into a scratch folder. The user's own
// files are the program's copies, written and synced by ReplaceFile. The office's waits for
// the disk, two to three per saved document, were the click's slowest moments (a save of
// 60-280 ms while the disk was busy, 9 ms at the median instead of 5).
//
// Where the kernel refuses it or the processor is not one it knows, the office syncs as
// before.
void skipDiskWaits();
