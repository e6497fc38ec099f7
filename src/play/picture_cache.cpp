// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/picture_cache.h"

#include <functional>

std::size_t PictureKeyHash::operator()(const PictureKey& k) const noexcept {
    std::size_t h = std::hash<int>()(k.face);
    for (int part : {k.kind, k.box.width(), k.box.height()}) h = h * 1000003u ^ std::hash<int>()(part);
    return h;
}

qint64 PictureCache::bytesOf(const CellPicture& picture) {
    // The picture's pixels and what keeping it costs besides.
    return picture.picture.sizeInBytes() + 256;
}

const CellPicture* PictureCache::find(const PictureKey& key) {
    const auto found = index_.find(key);
    if (found == index_.end()) return nullptr;
    entries_.splice(entries_.begin(), entries_, found->second);
    return &found->second->picture;
}

void PictureCache::insert(const PictureKey& key, CellPicture picture) {
    if (const auto found = index_.find(key); found != index_.end()) erase(found->second);
    const qint64 size = bytesOf(picture);
    entries_.push_front(Entry{key, std::move(picture), size});
    index_[key] = entries_.begin();
    bytes_ += size;
    // The newest stays even alone over the budget: it is about to be drawn.
    while (bytes_ > budget_ && entries_.size() > 1) erase(std::prev(entries_.end()));
}

void PictureCache::erase(std::list<Entry>::iterator it) {
    bytes_ -= it->bytes;
    index_.erase(it->key);
    entries_.erase(it);
}

void PictureCache::faceRemoved(int face) {
    forgetFace(face);
    index_.clear();
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->key.face > face) --it->key.face;
        index_[it->key] = it;
    }
}

void PictureCache::forgetFace(int face) {
    for (auto it = entries_.begin(); it != entries_.end();) {
        const auto next = std::next(it);
        if (it->key.face == face) erase(it);
        it = next;
    }
}

void PictureCache::clear() {
    entries_.clear();
    index_.clear();
    bytes_ = 0;
}
