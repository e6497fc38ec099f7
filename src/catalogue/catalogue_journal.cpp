#include "catalogue/catalogue_journal.h"

#include <QList>
#include <QRegularExpression>

namespace {

const QByteArray kHeader = "pomurina-catalogue-change 1";

QString hiddenPicture(const char* role, int face, int kind) {
    return QStringLiteral(".change-%1-%2_%3").arg(QLatin1String(role)).arg(face).arg(kind);
}

bool isPictureName(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^face[0-9]{1,5}_[0-5]\\.jpg$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern.match(name).hasMatch();
}

bool isHiddenPictureName(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^\\.change-(parked|shifted|added)-[0-9]{1,5}_[0-5]$"));
    return pattern.match(name).hasMatch();
}

bool isSettingsName(const QString& name) {
    return name.compare(QLatin1String("FaceData.ini"), Qt::CaseInsensitive) == 0;
}

}  // namespace

namespace ChangeFiles {
QString parked(int face, int kind) { return hiddenPicture("parked", face, kind); }
QString shifted(int face, int kind) { return hiddenPicture("shifted", face, kind); }
QString added(int face, int kind) { return hiddenPicture("added", face, kind); }
bool isChangeFile(const QString& fileName) { return fileName.startsWith(QLatin1String(".change-")); }
}  // namespace ChangeFiles

QString facePictureName(int face, int kind) { return QStringLiteral("face%1_%2.jpg").arg(face).arg(kind); }

QByteArray journalText(const CatalogueJournal& journal) {
    QByteArray text = kHeader + '\n';
    text += "phase " + QByteArray::number(journal.phase) + '\n';
    text += "settings " + journal.settings.toUtf8() + '\n';
    for (const CatalogueRename& r : journal.out) text += "out " + r.from.toUtf8() + ' ' + r.to.toUtf8() + '\n';
    for (const CatalogueRename& r : journal.in) text += "in " + r.from.toUtf8() + ' ' + r.to.toUtf8() + '\n';
    text += "end\n";
    return text;
}

bool parseJournal(const QByteArray& text, CatalogueJournal* journal) {
    QList<QByteArray> lines = text.split('\n');
    if (lines.size() < 4 || lines.takeLast() != "" || lines.takeLast() != "end" || lines.takeFirst() != kHeader)
        return false;
    CatalogueJournal j;
    const QList<QByteArray> phase = lines.takeFirst().split(' ');
    if (phase.size() != 2 || phase[0] != "phase" || (phase[1] != "1" && phase[1] != "2")) return false;
    j.phase = phase[1].toInt();
    const QList<QByteArray> settings = lines.takeFirst().split(' ');
    if (settings.size() != 2 || settings[0] != "settings") return false;
    j.settings = QString::fromUtf8(settings[1]);
    if (!isSettingsName(j.settings)) return false;
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() != 3) return false;
        const CatalogueRename r{QString::fromUtf8(fields[1]), QString::fromUtf8(fields[2])};
        if (fields[0] == "out" && j.in.empty() && isPictureName(r.from) && isHiddenPictureName(r.to))
            j.out.push_back(r);
        else if (fields[0] == "in" && isHiddenPictureName(r.from) && isPictureName(r.to))
            j.in.push_back(r);
        else
            return false;
    }
    *journal = std::move(j);
    return true;
}
