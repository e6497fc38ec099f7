// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The button 「自動で囲む」 of face authoring and the work behind it: the face
// model loads on a worker thread as soon as authoring starts and is let go
// when it ends; a click searches the photograph on a worker thread under a
// busy cursor; when several faces are found, small pictures of them below the
// buttons offer the others. The window's thread only starts the work and
// takes its results.
#include "detection/face_search.h"

#include <QImage>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

struct Board;
class FaceModel;
class ImageControl;
class UserDialogs;
template <typename T> class QFutureWatcher;
struct FaceModelLoad;

class PartFinder {
public:
    PartFinder(Board& board, UserDialogs& dialogs);
    ~PartFinder();

    // The model file (the installed one unless a test gives its own).
    void setModelPath(const QString& path) { modelPath_ = path; }

    // Authoring starts: the button shows, 「準備中…」 while the model loads, or
    // disabled with a tooltip naming the package when it is not installed.
    void begin();
    // Authoring ends: the button and the offered faces go and the model is
    // let go; work still running is dropped when it ends.
    void end();

    bool modelReady() const { return model_ != nullptr; }
    bool searching() const { return searching_; }
    // Searches photo for faces; onSearched runs with the result (faces
    // highest score first), unless authoring ended meanwhile.
    void search(const QImage& photo);
    std::function<void(const FaceSearch& search)> onSearched;

    // Offers the faces of a search as small pictures cut from photo, the
    // chosen one framed; nothing when there is only one. A click on another
    // runs onChosen with its index.
    void offerFaces(const FaceSearch& search, const QImage& photo, int chosen);
    std::function<void(int face)> onChosen;
    // The offered pictures, for the window's tests.
    const std::vector<ImageControl*>& offeredFaces() const { return offered_; }

private:
    void modelLoaded();
    void searchDone();
    void clearOffer();

    Board& board_;
    UserDialogs& dialogs_;
    QString modelPath_;
    std::shared_ptr<const FaceModel> model_;
    std::unique_ptr<QFutureWatcher<FaceModelLoad>> loading_;
    struct Searched;
    std::unique_ptr<QFutureWatcher<Searched>> searchWork_;
    bool searching_ = false;
    int session_ = 0;  // counts authoring sessions; work of an ended one is dropped
    bool active_ = false;
    std::vector<ImageControl*> offered_;
};
