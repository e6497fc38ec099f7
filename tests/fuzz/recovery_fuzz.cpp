// SPDX-License-Identifier: GPL-3.0-or-later
// The recovery of an interrupted catalogue change, on a temporary game
// folder: no file outside the catalogue changes, and no picture is lost
// unless a step of a genuine journal removes it. A genuine journal, left
// untouched, gives exactly the catalogue before or after its change.
//
// Input, first byte even: a data folder and a journal described by hand.
//   Line 1, words separated by blanks: "-<name>" removes a file of the
//   starting catalogue (five faces, FaceData.ini with count=5);
//   "count=<n>" stores another count; "nosettings" removes FaceData.ini;
//   "=old" and "=new" add the change's copies of the settings (the old one
//   equal to FaceData.ini); "@link" makes the journal a symbolic link to a
//   file outside data/; any other word adds a file of that name.
//   The rest: the journal's bytes (with "@link", the outside file's).
// First byte odd: a change the game really made, killed before one of its
// file steps, then damaged.
//   Byte 1: bit 0 a registration of face 5 (else the deletion of face
//   (byte >> 1) mod 5). Byte 2: for a registration, stray pictures at index 5
//   (bit k: kind k); for a deletion, pictures of face 3 missing beforehand.
//   Byte 3: the file step the change is killed before (1 + value).
//   Then up to 16 pairs (operation, argument), each a damage to the folder
//   or the journal.
#include "fuzz_check.h"
#include "catalogue/catalogue_files.h"
#include "catalogue/catalogue_change_steps.h"
#include "catalogue/catalogue_journal.h"
#include "files/app_error.h"
#include "files/atomic_write.h"
#include "files/file_ops.h"
#include "files/ini_file.h"
#include "pictures/parallel_work.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <cstdint>
#include <map>

namespace {

using Folder = std::map<QString, QByteArray>;  // top level of data/: name -> bytes ("<dir>" for a folder)

constexpr int kFaces = 5;
constexpr size_t kMostDamages = 16;
const QByteArray kOutside = "a file of the player's, outside the catalogue";
const QByteArray kSaved = "a saved face";

// A temporary folder of a random name; or, for the test suite's repeatable
// runs, the folder POMURINA_FUZZ_WORK names (the same on every run, so that
// no random name reaches the code under test), emptied first. The folders
// of refused changes are named after a fixed moment for the same reason.
QString baseFolder() {
    static const QString path = [] {
        setSetAsideClock([] { return QDateTime(QDate(2026, 1, 1), QTime(9, 0)); });
        setRepeatableTemporaryNames(1);
        limitWorkers(1);
        const QString fixed = qEnvironmentVariable("POMURINA_FUZZ_WORK");
        if (!fixed.isEmpty()) {
            QDir(fixed).removeRecursively();
            FUZZ_CHECK(QDir().mkpath(fixed));
            return fixed;
        }
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        static QTemporaryDir dir(base + QStringLiteral("/recovery_fuzz-XXXXXX"));
        return dir.path();
    }();
    return path;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(f.write(bytes) == bytes.size());
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

Folder snapshot(const QString& data) {
    Folder folder;
    for (const QFileInfo& info :
         QDir(data).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (info.isSymLink()) folder[info.fileName()] = "<link>" + QFile::encodeName(info.symLinkTarget());
        else folder[info.fileName()] = info.isDir() ? QByteArray("<dir>") : readFile(info.absoluteFilePath());
    }
    return folder;
}

// Every file's bytes under data/, folders set aside included.
QSet<QByteArray> everyContent(const QString& data) {
    QSet<QByteArray> contents;
    QDirIterator it(data, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) contents.insert(readFile(it.next()));
    return contents;
}

QByteArray pictureBytes(int face, int kind) { return QStringLiteral("picture %1_%2").arg(face).arg(kind).toLatin1(); }

// A fresh game folder: the catalogue, a saved face and a file beside data/.
QString freshGameFolder(const QString& name = QStringLiteral("game")) {
    const QString app = baseFolder() + QLatin1Char('/') + name;
    QDir(app).removeRecursively();
    FUZZ_CHECK(QDir().mkpath(app + QStringLiteral("/data")) && QDir().mkpath(app + QStringLiteral("/Library")));
    writeFile(app + QStringLiteral("/outside.txt"), kOutside);
    writeFile(app + QStringLiteral("/Library/saved.jpg"), kSaved);
    writeFile(app + QStringLiteral("/data/FaceData.ini"), "[faces]\r\ncount=5\r\n");
    for (int face = 0; face < kFaces; ++face)
        for (int kind = 0; kind < 6; ++kind)
            writeFile(app + QStringLiteral("/data/") + facePictureName(face, kind), pictureBytes(face, kind));
    return app + QLatin1Char('/');
}

// The faces the settings count (as the game reads them).
int storedCount(const QString& app) {
    return IniFile(app + QStringLiteral("data/FaceData.ini")).readInteger(QStringLiteral("faces"), QStringLiteral("count"), 3);
}

// The face index of a catalogue picture's name, or -1.
int faceOf(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^face([0-9]{1,6})_[0-5]\\.jpg$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = pattern.match(name);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

struct Killed {};

// --- A change the game makes -------------------------------------------------

struct GenuineChange {
    bool registration = false;
    int deleted = 0;
    int mask = 0;  // strays (registration) or missing pictures of face 3 (deletion)
};

void arrange(const QString& app, const GenuineChange& c) {
    for (int kind = 0; kind < 6; ++kind) {
        if (!(c.mask & (1 << kind))) continue;
        if (c.registration) writeFile(app + QStringLiteral("data/") + facePictureName(kFaces, kind), "stray " + QByteArray::number(kind));
        else QFile::remove(app + QStringLiteral("data/") + facePictureName(3, kind));
    }
}

void run(const QString& app, const GenuineChange& c) {
    if (c.registration) {
        NewFacePictures face;
        for (int kind = 0; kind < 6; ++kind) {
            face.pictures[kind] = QImage(4 + kind, 4, QImage::Format_RGB32);
            face.pictures[kind].fill(qRgb(40 * kind, 10, 200));
        }
        registerFaceFiles(app, kFaces, face);
    } else {
        deleteFaceFiles(app, c.deleted, kFaces, std::vector<FaceAnswer>(kFaces - 1, FaceAnswer{}));
    }
}

// The catalogue after the whole change, once for each change.
const Folder& completed(const GenuineChange& c) {
    static std::map<std::tuple<bool, int, int>, Folder> done;
    const auto key = std::make_tuple(c.registration, c.deleted, c.mask);
    auto it = done.find(key);
    if (it != done.end()) return it->second;
    const QString app = freshGameFolder(QStringLiteral("completed"));
    arrange(app, c);
    run(app, c);
    return done[key] = snapshot(app + QStringLiteral("data"));
}

// --- Damage --------------------------------------------------------------------

QString journalPath(const QString& app) { return app + QStringLiteral("data/") + ChangeFiles::journal; }

// Recomputes a version 2 journal's checksum line over the lines above it.
QByteArray resealed(const QByteArray& text) {
    if (!text.startsWith("pomurina-catalogue-change 2\n")) return text;
    QByteArray body = text;
    const qsizetype last = text.lastIndexOf('\n', text.size() - 2) + 1;
    if (text.endsWith('\n') && text.mid(last).startsWith("checksum ")) body = text.left(last);
    if (!body.endsWith('\n')) body += '\n';
    return body + "checksum " + settingsDigest(body).toHex() + '\n';
}

// One damage; true when it changed anything.
bool damage(const QString& app, uint8_t op, uint8_t arg) {
    const QString data = app + QStringLiteral("data/");
    const QStringList names = QDir(data).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    QByteArray journal = readFile(journalPath(app));
    const bool hasJournal = QFileInfo::exists(journalPath(app));
    switch (op % 6) {
    case 0:  // a file vanishes
        return !names.isEmpty() && QFile::remove(data + names[arg % names.size()]);
    case 1: {  // a file's bytes appear under a name the journal names
        CatalogueJournal j;
        if (names.isEmpty() || !hasJournal || !parseJournal(journal, &j)) return false;
        QStringList journalNames;
        for (const CatalogueRename& r : j.out) journalNames << r.from << r.to;
        for (const CatalogueRename& r : j.in) journalNames << r.from << r.to;
        journalNames << ChangeFiles::oldSettings << ChangeFiles::newSettings << j.settings;
        writeFile(data + journalNames[(op >> 3) % journalNames.size()], readFile(data + names[arg % names.size()]));
        return true;
    }
    case 2:  // one bit of the journal flips
        if (journal.isEmpty()) return false;
        journal[(arg * 31 + (op >> 3)) % journal.size()] ^= char(1 << (arg % 8));
        break;
    case 3: {  // the journal as the previous version wrote it
        CatalogueJournal j;
        if (!parseJournal(journal, &j) || j.version == 1) return false;
        j.version = 1;
        j.settingsBefore = j.settingsAfter = QByteArray();
        journal = journalText(j);
        break;
    }
    case 4:  // a journal with a right checksum over whatever it holds
        if (!hasJournal) return false;
        journal = resealed(journal);
        break;
    default: {  // a line swapped with the next, doubled or dropped
        if (!hasJournal) return false;
        QList<QByteArray> lines = journal.split('\n');
        const qsizetype i = (op >> 3) % lines.size();
        if (arg % 3 == 0 && i + 1 < lines.size()) lines.swapItemsAt(i, i + 1);
        else if (arg % 3 == 1) lines.insert(i, lines[i]);
        else lines.removeAt(i);
        journal = resealed(lines.join('\n'));
    }
    }
    writeFile(journalPath(app), journal);
    return true;
}

// --- A folder described by hand --------------------------------------------------

void describe(const QString& app, const QByteArray& input) {
    const QString data = app + QStringLiteral("data/");
    const qsizetype newline = input.indexOf('\n');
    const QList<QByteArray> words = (newline < 0 ? input : input.left(newline)).split(' ');
    bool link = false, oldCopy = false, newCopy = false;
    int added = 0;
    for (const QByteArray& word : words) {
        const QString w = QString::fromLatin1(word);
        if (w.isEmpty() || w.contains(QLatin1Char('/')) || w.contains(QLatin1Char('\0')) || w == QLatin1String(".") ||
            w == QLatin1String("..") || w.startsWith(QLatin1String("refused-change")) || w.size() > 40)
            continue;
        if (w == QLatin1String("@link")) link = true;
        else if (w == QLatin1String("=old")) oldCopy = true;
        else if (w == QLatin1String("=new")) newCopy = true;
        else if (w == QLatin1String("nosettings")) QFile::remove(data + QStringLiteral("FaceData.ini"));
        else if (w.startsWith(QLatin1String("count="))) writeFile(data + QStringLiteral("FaceData.ini"), "[faces]\r\n" + word + "\r\n");
        else if (w.startsWith(QLatin1Char('-'))) QFile::remove(data + w.mid(1));
        else if (++added <= 64) writeFile(data + w, "file " + word);
    }
    if (oldCopy) writeFile(data + ChangeFiles::oldSettings, QFile::exists(data + QStringLiteral("FaceData.ini")) ? readFile(data + QStringLiteral("FaceData.ini")) : QByteArray());
    if (newCopy) writeFile(data + ChangeFiles::newSettings, "[faces]\r\ncount=99\r\n");
    if (newline < 0) return;
    const QByteArray journal = input.mid(newline + 1);
    QFile::remove(journalPath(app));
    if (link) {
        writeFile(app + QStringLiteral("outside.txt"), journal);
        FUZZ_CHECK(QFile::link(QStringLiteral("../outside.txt"), journalPath(app)));
    } else {
        writeFile(journalPath(app), journal);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const QString app = freshGameFolder();
    const QString dataFolder = app + QStringLiteral("data");
    const bool genuine = data[0] & 1;
    GenuineChange change;
    bool damaged = false;
    Folder before, killed;
    if (genuine) {
        if (size < 4) return 0;
        change.registration = data[1] & 1;
        change.deleted = (data[1] >> 1) % kFaces;
        change.mask = data[2] & 0x3f;
        completed(change);
        arrange(app, change);
        before = snapshot(dataFolder);
        const int killAt = 1 + data[3];
        int steps = 0;
        setFileStepHook([&](FileStep, const QString&) -> int {
            if (++steps == killAt) throw Killed{};
            return 0;
        });
        try {
            run(app, change);
        } catch (const Killed&) {
        }
        setFileStepHook({});
        killed = snapshot(dataFolder);
        for (size_t i = 4; i + 1 < size && i < 4 + 2 * kMostDamages; i += 2) damaged = damage(app, data[i], data[i + 1]) || damaged;
    } else {
        describe(app, QByteArray(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1)));
    }

    // What must survive: outside the catalogue everything; inside, every
    // picture of a face the settings count.
    const QByteArray outsideBefore = readFile(app + QStringLiteral("outside.txt"));
    const QStringList gameFolderBefore = QDir(app).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    const Folder crashed = snapshot(dataFolder);
    const int count = storedCount(app);

    bool refused = false;
    try {
        recoverCatalogue(app);
    } catch (const AppError&) {
        refused = true;
    }
    const Folder recovered = snapshot(dataFolder);
    const QSet<QByteArray> contentsAfter = everyContent(dataFolder);

    FUZZ_CHECK(readFile(app + QStringLiteral("outside.txt")) == outsideBefore);
    FUZZ_CHECK(!QFileInfo(app + QStringLiteral("outside.txt")).isSymLink());
    FUZZ_CHECK(readFile(app + QStringLiteral("Library/saved.jpg")) == kSaved);
    FUZZ_CHECK(QDir(app).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot) == gameFolderBefore);
    const auto settings = crashed.find(QStringLiteral("FaceData.ini"));
    FUZZ_CHECK(settings == crashed.end() ? !recovered.count(QStringLiteral("FaceData.ini"))
                                         : recovered.at(QStringLiteral("FaceData.ini")) == settings->second);
    for (const auto& [name, bytes] : crashed) {
        const int face = faceOf(name);
        if (face >= 0 && face < count) FUZZ_CHECK(contentsAfter.contains(bytes));
    }
    for (const auto& [name, bytes] : recovered)
        FUZZ_CHECK(crashed.count(name) || faceOf(name) >= 0 || ChangeFiles::isChangeFile(name) ||
                   (name.startsWith(QLatin1String("refused-change-")) && bytes == "<dir>"));

    if (genuine) {
        const Folder& after = completed(change);
        if (!damaged) {
            FUZZ_CHECK(!refused);
            FUZZ_CHECK(recovered == before || recovered == after);
        }
        // A picture the change keeps survives, unless the damage took it:
        // removed it, or moved it onto a name the change owns (a hidden name,
        // or a catalogue name the change writes), whose fate the journal
        // rightly decides.
        const auto owned = [&](const QString& name) {
            const auto was = before.find(name);
            const auto will = after.find(name);
            const bool changes = was == before.end() || will == after.end() || was->second != will->second;
            return ChangeFiles::isChangeFile(name) || (faceOf(name) >= 0 && changes);
        };
        const auto putThereByDamage = [&](const QString& name, const QByteArray& bytes) {
            const auto k = killed.find(name);
            return k == killed.end() || k->second != bytes;
        };
        QSet<QByteArray> kept;
        for (const auto& entry : after) kept.insert(entry.second);
        for (const auto& [name, bytes] : before) {
            if (faceOf(name) < 0 || !kept.contains(bytes)) continue;
            bool left = false;
            for (const auto& [where, held] : crashed)
                if (held == bytes && !(owned(where) && putThereByDamage(where, bytes))) left = true;
            if (left) FUZZ_CHECK(contentsAfter.contains(bytes));
        }
    }

    // Whatever happened, the next start has nothing left to refuse.
    bool again = false;
    try {
        recoverCatalogue(app);
    } catch (const AppError&) {
        again = true;
    }
    FUZZ_CHECK(!again);
    return 0;
}
