#include "platform/atomic_write.h"

#include "platform/app_error.h"

#include <QSaveFile>

bool tryWriteFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    // Never fall back to writing the target in place: a failure must leave
    // the old content untouched.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return false;
    // commit() does not report a failure of the final flush, so flush first.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void writeFileAtomically(const QString& path, const QByteArray& bytes) {
    if (!tryWriteFileAtomically(path, bytes)) throwFileCreateError(path);
}
