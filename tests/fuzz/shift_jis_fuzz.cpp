// SPDX-License-Identifier: GPL-3.0-or-later
// The CP932 codec: stray-byte keeping round trips every byte string exactly;
// text that CP932 can hold comes back unchanged through the plain pair.
#include "files/shift_jis.h"
#include "fuzz_check.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    FUZZ_CHECK(toShiftJisKeepingStrayBytes(fromShiftJisKeepingStrayBytes(bytes)) == bytes);

    const QString decoded = fromShiftJis(bytes);
    if (representableInShiftJis(decoded)) FUZZ_CHECK(fromShiftJis(toShiftJis(decoded)) == decoded);

    // The same bytes read as UTF-16 text, lone surrogates and all.
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data, size / 2 * 2);
    const QByteArray encoded = toShiftJis(text);
    if (representableInShiftJis(text)) {
        FUZZ_CHECK(fromShiftJis(encoded) == text);
        FUZZ_CHECK(toShiftJisKeepingStrayBytes(text) == encoded);
    }
    return 0;
}
