// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/catalogue_journal.h"

#include "catalogue/catalogue_files.h"

#include <QByteArrayView>
#include <QList>
#include <algorithm>
#include <cstring>
#include <openssl/evp.h>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace {

const QByteArray kHeaderV1 = "pomurina-catalogue-change 1";
const QByteArray kHeaderV2 = "pomurina-catalogue-change 2";
constexpr qsizetype kDigestHexLength = 64;

// "<prefix><face>_<kind><suffix>", formatted in one buffer: a deletion
// names tens of thousands of pictures.
QString pictureName(std::string_view prefix, int face, int kind, std::string_view suffix) {
    std::string name(prefix);
    name += std::to_string(face);
    name += '_';
    name += std::to_string(kind);
    name += suffix;
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

QString hiddenPicture(std::string_view role, int face, int kind) {
    return pictureName(".change-" + std::string(role) + '-', face, kind, {});
}

// One picture of the catalogue: face index and picture kind.
struct PictureId {
    int face = -1;
    int kind = -1;
    auto operator<=>(const PictureId&) const = default;
};

// A face index as the game writes it: plain decimal, no leading zero, and
// within the largest catalogue.
bool takeFaceIndex(QByteArrayView text, int* face) {
    if (text.isEmpty() || text.size() > 5 || (text.size() > 1 && text[0] == '0')) return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value >= kMaxFaceCount) return false;
    *face = value;
    return true;
}

// "<face>_<kind>" with kind 0..5.
bool takeFaceAndKind(QByteArrayView text, PictureId* id) {
    if (text.size() < 3 || text[text.size() - 2] != '_') return false;
    const char kind = text[text.size() - 1];
    if (kind < '0' || kind > '5') return false;
    id->kind = kind - '0';
    return takeFaceIndex(text.first(text.size() - 2), &id->face);
}

// "face<N>_<k>.jpg", "face" and ".jpg" in any letter case (the spelling
// found in the folder).
bool parsePictureName(QByteArrayView name, PictureId* id) {
    if (name.size() < 10 || !name.first(4).toByteArray().toLower().startsWith("face") ||
        name.last(4).toByteArray().toLower() != ".jpg")
        return false;
    return takeFaceAndKind(name.sliced(4, name.size() - 8), id);
}

enum class Role { Parked, Shifted, Added };

bool parseHiddenName(QByteArrayView name, Role* role, PictureId* id) {
    static const std::pair<QByteArrayView, Role> prefixes[] = {
        {".change-parked-", Role::Parked}, {".change-shifted-", Role::Shifted}, {".change-added-", Role::Added}};
    for (const auto& [prefix, r] : prefixes)
        if (name.startsWith(prefix)) {
            *role = r;
            return takeFaceAndKind(name.sliced(prefix.size()), id);
        }
    return false;
}

bool isSettingsName(const QString& name) {
    return name.compare(QLatin1String("FaceData.ini"), Qt::CaseInsensitive) == 0;
}

QByteArray hex(const QByteArray& digest) { return digest.toHex(); }

// 64 lower-case hex digits, exactly as written.
bool parseDigest(const QByteArray& text, QByteArray* digest) {
    if (text.size() != kDigestHexLength) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    *digest = QByteArray::fromHex(text);
    return true;
}

// "<keyword> <value>"; the value holds no blank.
bool keywordLine(const QByteArray& line, const char* keyword, QByteArray* value) {
    const QByteArrayView k(keyword);
    if (line.size() <= k.size() + 1 || !line.startsWith(k) || line[k.size()] != ' ') return false;
    *value = line.mid(k.size() + 1);
    return !value->contains(' ');
}

struct Rename {
    PictureId picture;  // the catalogue side
    Role role;          // the hidden side
    PictureId hidden;
};

// "out <picture> <hidden>" or "in <hidden> <picture>", as the game pairs them.
bool parseRename(const QByteArray& line, bool out, CatalogueRename* r, Rename* parsed) {
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() != 3 || fields[0] != (out ? "out" : "in")) return false;
    const QByteArray& picture = out ? fields[1] : fields[2];
    const QByteArray& hidden = out ? fields[2] : fields[1];
    if (!parsePictureName(picture, &parsed->picture) || !parseHiddenName(hidden, &parsed->role, &parsed->hidden))
        return false;
    const PictureId& p = parsed->picture;
    const PictureId& h = parsed->hidden;
    bool paired = false;
    if (out) {
        paired = (parsed->role == Role::Parked && h == p) ||
                 (parsed->role == Role::Shifted && h.kind == p.kind && h.face == p.face - 1);
    } else {
        paired = parsed->role != Role::Parked && h == p;
    }
    if (!paired) return false;
    *r = {QString::fromLatin1(fields[1]), QString::fromLatin1(fields[2])};
    return true;
}

// The renames of one register (pictures added to one face, the strays at its
// index parked) or of one delete (the deleted face parked, later faces
// shifted out and back in one lower), each name once.
bool isOneChange(const std::vector<Rename>& outs, const std::vector<Rename>& ins) {
    std::set<PictureId> outPictures, inPictures, shiftedOut, shiftedIn;
    std::set<int> parkedFaces, addedFaces;
    for (const Rename& r : outs) {
        if (!outPictures.insert(r.picture).second) return false;
        if (r.role == Role::Parked) parkedFaces.insert(r.picture.face);
        else shiftedOut.insert(r.hidden);
    }
    for (const Rename& r : ins) {
        if (!inPictures.insert(r.picture).second) return false;
        if (r.role == Role::Added) addedFaces.insert(r.hidden.face);
        else shiftedIn.insert(r.hidden);
    }
    if (shiftedOut != shiftedIn || parkedFaces.size() > 1 || addedFaces.size() > 1) return false;
    if (!addedFaces.empty())  // a register: nothing shifted, only its own index parked
        return shiftedIn.empty() && (parkedFaces.empty() || parkedFaces == addedFaces);
    // A delete: only faces after the deleted one move down.
    if (parkedFaces.empty()) return true;
    const int deleted = *parkedFaces.begin();
    for (const Rename& r : outs)
        if (r.role == Role::Shifted && r.picture.face <= deleted) return false;
    return true;
}

}  // namespace

namespace ChangeFiles {
QString parked(int face, int kind) { return hiddenPicture("parked", face, kind); }
QString shifted(int face, int kind) { return hiddenPicture("shifted", face, kind); }
QString added(int face, int kind) { return hiddenPicture("added", face, kind); }
bool isChangeFile(const QString& fileName) { return fileName.startsWith(QLatin1String(".change-")); }
bool isAddedPicture(const QString& fileName) { return fileName.startsWith(QLatin1String(".change-added-")); }
}  // namespace ChangeFiles

QString facePictureName(int face, int kind) { return pictureName("face", face, kind, ".jpg"); }

bool isFacePictureName(const char* name) {
    if (std::strncmp(name, "face", 4) != 0) return false;
    const char* digits = name + 4;
    const char* p = digits;
    while (*p >= '0' && *p <= '9') ++p;
    if (p == digits || (p - digits > 1 && *digits == '0')) return false;
    return p[0] == '_' && p[1] >= '0' && p[1] <= '5' && std::strcmp(p + 2, ".jpg") == 0;
}

qint64 maxJournalBytes() {
    constexpr qint64 kLongestLine = 48;  // "out face9999_5.jpg .change-shifted-9998_5\n" is 42
    return qint64(kMaxFaceCount) * 6 * 2 * kLongestLine + 4096;
}

QByteArray settingsDigest(const QByteArray& settingsBytes) {
    QByteArray digest(32, Qt::Uninitialized);
    unsigned int size = 0;
    if (EVP_Digest(settingsBytes.constData(), size_t(settingsBytes.size()), reinterpret_cast<unsigned char*>(digest.data()),
                   &size, EVP_sha256(), nullptr) != 1 ||
        size != 32)
        throw std::runtime_error("settingsDigest: SHA-256 failed");
    return digest;
}

namespace {

// name in UTF-8 at the end of text; the names the game makes are ASCII.
void appendName(QByteArray& text, const QString& name) {
    if (std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() < 0x80; })) {
        for (QChar c : name) text += char(c.unicode());
    } else {
        text += name.toUtf8();
    }
}

void appendRename(QByteArray& text, const char* keyword, const CatalogueRename& r) {
    text += keyword;
    appendName(text, r.from);
    text += ' ';
    appendName(text, r.to);
    text += '\n';
}

}  // namespace

QByteArray journalText(const CatalogueJournal& journal) {
    const bool v1 = journal.version == 1;
    QByteArray text;
    // A deletion lists tens of thousands of renames: one buffer, grown rarely.
    text.reserve(qsizetype(journal.out.size() + journal.in.size()) * 48 + 512);
    text += v1 ? kHeaderV1 : kHeaderV2;
    text += "\nphase ";
    text += QByteArray::number(journal.phase);
    text += "\nsettings ";
    appendName(text, journal.settings);
    text += '\n';
    if (!v1) {
        text += "before ";
        text += hex(journal.settingsBefore);
        text += "\nafter ";
        text += hex(journal.settingsAfter);
        text += '\n';
    }
    for (const CatalogueRename& r : journal.out) appendRename(text, "out ", r);
    for (const CatalogueRename& r : journal.in) appendRename(text, "in ", r);
    text += "end\n";
    if (!v1) {
        const QByteArray sum = hex(settingsDigest(text));
        text += "checksum ";
        text += sum;
        text += '\n';
    }
    return text;
}

bool parseJournal(const QByteArray& text, CatalogueJournal* journal) {
    if (text.size() > maxJournalBytes() || !text.endsWith('\n')) return false;
    CatalogueJournal j;
    QByteArray body = text;
    if (text.startsWith(kHeaderV2 + '\n')) {
        // The checksum line comes last and covers everything before it.
        const qsizetype lastLine = text.lastIndexOf('\n', text.size() - 2) + 1;
        QByteArray sum, digest;
        if (lastLine <= 0 || !keywordLine(text.mid(lastLine, text.size() - 1 - lastLine), "checksum", &sum) ||
            !parseDigest(sum, &digest))
            return false;
        body = text.left(lastLine);
        if (digest != settingsDigest(body)) return false;
    } else if (text.startsWith(kHeaderV1 + '\n')) {
        j.version = 1;
    } else {
        return false;
    }

    QList<QByteArray> lines = body.chopped(1).split('\n');
    qsizetype next = 1;  // the header is checked
    const auto take = [&](QByteArray* line) {
        if (next >= lines.size()) return false;
        *line = lines[next++];
        return true;
    };
    QByteArray line, value;
    if (!take(&line) || (line != "phase 1" && line != "phase 2")) return false;
    j.phase = line.back() - '0';
    if (!take(&line) || !keywordLine(line, "settings", &value)) return false;
    j.settings = QString::fromLatin1(value);
    if (!isSettingsName(j.settings)) return false;
    if (j.version == 2) {
        if (!take(&line) || !keywordLine(line, "before", &value) || !parseDigest(value, &j.settingsBefore)) return false;
        if (!take(&line) || !keywordLine(line, "after", &value) || !parseDigest(value, &j.settingsAfter)) return false;
    }
    if (lines.size() - next < 1 || lines.last() != "end") return false;
    std::vector<Rename> outs, ins;
    for (; next < lines.size() - 1; ++next) {
        const QByteArray& l = lines[next];
        const bool out = l.startsWith("out ");
        if (out && !ins.empty()) return false;  // every out comes before every in
        CatalogueRename r;
        Rename parsed;
        if (!parseRename(l, out, &r, &parsed)) return false;
        (out ? j.out : j.in).push_back(std::move(r));
        (out ? outs : ins).push_back(parsed);
    }
    if (!isOneChange(outs, ins)) return false;
    *journal = std::move(j);
    return true;
}
