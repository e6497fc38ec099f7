// SPDX-License-Identifier: GPL-3.0-or-later
// The journal parser on any bytes: it refuses, or the journal it gives is
// written back as exactly the same text (one spelling for each journal), with
// every rename between a catalogue picture and a hidden name of the change.
#include "fuzz_check.h"
#include "catalogue/catalogue_journal.h"

#include <cstdint>

namespace {

bool isCataloguePicture(const QString& name) {
    return name.startsWith(QLatin1String("face"), Qt::CaseInsensitive) &&
           name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive) && !name.contains(QLatin1Char('/'));
}

bool isHidden(const QString& name) {
    return ChangeFiles::isChangeFile(name) && name != ChangeFiles::journal && !name.contains(QLatin1Char('/'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    CatalogueJournal journal;
    if (!parseJournal(text, &journal)) return 0;
    FUZZ_CHECK(journalText(journal) == text);
    FUZZ_CHECK(text.size() <= maxJournalBytes());
    FUZZ_CHECK(journal.phase == 1 || journal.phase == 2);
    FUZZ_CHECK(journal.version == 1 || journal.version == 2);
    FUZZ_CHECK(journal.version == 1 || (journal.settingsBefore.size() == 32 && journal.settingsAfter.size() == 32));
    for (const CatalogueRename& r : journal.out) FUZZ_CHECK(isCataloguePicture(r.from) && isHidden(r.to));
    for (const CatalogueRename& r : journal.in) FUZZ_CHECK(isHidden(r.from) && isCataloguePicture(r.to));
    // Without its last line (the end or the checksum) it is none.
    CatalogueJournal cut;
    FUZZ_CHECK(!parseJournal(text.left(text.lastIndexOf('\n', text.size() - 2) + 1), &cut));
    return 0;
}
