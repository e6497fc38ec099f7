#pragma once
// One change to the catalogue's pictures that can be taken back. Every file
// it creates, moves or parks is recorded; rollback() (also run by the
// destructor when commit() was never reached) removes what was created and
// moves everything back, newest first. Parked files (old pictures moved aside
// to free their names) are deleted only by commit().
#include <QByteArray>
#include <QString>
#include <vector>

class CatalogueChange {
public:
    CatalogueChange() = default;
    CatalogueChange(const CatalogueChange&) = delete;
    CatalogueChange& operator=(const CatalogueChange&) = delete;
    ~CatalogueChange();

    // Moves path to an unused name in its own folder (the same errors as move).
    void park(const QString& path);
    // Renames from to to; to must not exist. Throws "ファイル %s は開けません"
    // for a missing source and "ファイル %s を作成できません" naming to otherwise.
    void move(const QString& from, const QString& to);
    // Writes a new file atomically (throws "ファイル %s を作成できません").
    void create(const QString& path, const QByteArray& bytes);

    void commit();
    void rollback();

private:
    struct Step {
        enum Kind { Created, Moved, Parked } kind;
        QString path;    // created file, or the original name
        QString movedTo; // where a moved or parked file now lives
    };
    std::vector<Step> steps_;
};
