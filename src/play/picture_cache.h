// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The catalogue pictures decoded so far, each at the size it is drawn at,
// kept within a budget of bytes: putting one in beyond the budget lets go of
// those looked at longest ago (least recently used).
#include "board/painted_cells.h"

#include <QSize>
#include <cstddef>
#include <list>
#include <unordered_map>

// Picture kind of face, drawn into box (an empty box: at its own size).
struct PictureKey {
    int face = 0;
    int kind = 0;
    QSize box;
    bool operator==(const PictureKey& o) const { return face == o.face && kind == o.kind && box == o.box; }
};

struct PictureKeyHash {
    std::size_t operator()(const PictureKey& k) const noexcept;
};

class PictureCache {
public:
    explicit PictureCache(qint64 budgetBytes) : budget_(budgetBytes) {}

    // The picture, now the most recently used; null when it is not kept.
    const CellPicture* find(const PictureKey& key);
    bool contains(const PictureKey& key) const { return index_.count(key) != 0; }
    // Keeps picture (replacing one of the same key); the least recently used
    // others go while the total is over the budget.
    void insert(const PictureKey& key, CellPicture picture);
    // Face left the catalogue: its pictures go, and every later face's move
    // down one number with their face.
    void faceRemoved(int face);
    void forgetFace(int face);
    void clear();

    qint64 bytes() const { return bytes_; }
    int size() const { return int(index_.size()); }

private:
    struct Entry {
        PictureKey key;
        CellPicture picture;
        qint64 bytes = 0;
    };
    static qint64 bytesOf(const CellPicture& picture);
    void erase(std::list<Entry>::iterator it);

    qint64 budget_;
    qint64 bytes_ = 0;
    std::list<Entry> entries_;  // most recently used first
    std::unordered_map<PictureKey, std::list<Entry>::iterator, PictureKeyHash> index_;
};
