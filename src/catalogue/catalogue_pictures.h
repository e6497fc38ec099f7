// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading many catalogue pictures in one operation (the thumbnails, a game
// start): the data folder's spelling is resolved once, and each picture is
// opened by its plain name; only a name that is missing is looked up again
// without regard to letter case, as facePicturePath does. The results and
// errors are those of readFacePicture. Reading is safe from several threads
// at once.
#include <QImage>
#include <QSize>
#include <QString>

class CataloguePictures {
public:
    // Throws "ファイル %s は開けません" when the folder's spelling cannot be
    // looked up.
    explicit CataloguePictures(const QString& appDir);

    // As readFacePicture(appDir, face, kind).
    QImage read(int face, int kind) const;
    // The picture as drawn in box with its aspect kept, decoded at a reduced
    // scale (decodeJpegFitted); *fullSize gets its own size.
    QImage readFitted(int face, int kind, QSize box, QSize* fullSize) const;
    // Asks for the picture to be read from the disk soon (readAhead), by its
    // plain name.
    void readAhead(int face, int kind) const;

private:
    template <typename Decode>
    QImage decode(int face, int kind, Decode decode) const;

    QString appDir_;
    QString folder_;  // the data folder with a trailing "/"
};
