// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Faults injected into the platform's existence tests, folder listings and
// file reads for the duration of a scope, so tests can see an operation meet
// EIO, EACCES or a read cut short, which permissions cannot arrange for root.
#include "files/file_reading.h"

#include <cerrno>
#include <utility>

class FileFaults {
public:
    explicit FileFaults(FileFaultHook hook) : previous_(setFileFaultHook(std::move(hook))) {}
    ~FileFaults() { setFileFaultHook(std::move(previous_)); }
    FileFaults(const FileFaults&) = delete;
    FileFaults& operator=(const FileFaults&) = delete;

    // Reads of paths ending in suffix return `bytes` bytes, then fail with
    // error (0: the file simply ends there).
    static FileFaultHook readCutShort(const QString& suffix, qint64 bytes, int error) {
        return [=](FileCall call, const QString& path, qint64 offset) {
            if (call != FileCall::Read || !path.endsWith(suffix)) return FileCallFault{};
            if (offset < bytes) return FileCallFault{0, bytes - offset};
            return error ? FileCallFault{error, -1} : FileCallFault{0, 0};
        };
    }
    // Calls of one kind on paths ending in suffix fail with error.
    static FileFaultHook failing(FileCall which, const QString& suffix, int error) {
        return [=](FileCall call, const QString& path, qint64) {
            return call == which && path.endsWith(suffix) ? FileCallFault{error, -1} : FileCallFault{};
        };
    }

private:
    FileFaultHook previous_;
};
