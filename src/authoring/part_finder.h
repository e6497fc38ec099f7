// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The button 「自動で囲む」 of face authoring and the work behind it: the face
// model loads on a worker thread as soon as 「顔の追加」 is chosen, one load
// at a time, and is kept a while after the authoring ends (a player who
// comes back finds it ready) before it is let go off the window's thread; a
// click searches the photograph on a worker thread under a busy cursor; when
// several faces are found, small pictures of them below the buttons offer
// the others, and a word beside the button says so (or that none was found).
// The window's thread only starts the work and takes its results.
#include "detection/face_search.h"

#include <QImage>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct Board;
class CaptionLabel;
class FaceModel;
class ImageControl;
class UserDialogs;
template <typename T> class QFutureWatcher;
struct FaceModelLoad;

class PartFinder {
public:
    PartFinder(Board& board, UserDialogs& dialogs);
    ~PartFinder();

    // The model file (the installed one unless a test gives its own); a
    // model of another file is let go.
    void setModelPath(const QString& path);
    // How long a model is kept once nothing uses it (a minute).
    void setModelKeepTime(std::chrono::milliseconds keep) { keepTimer_.setInterval(keep); }

    // 「顔の追加」 is chosen: the model starts loading unless it is loaded or
    // loading already.
    void prepare();
    // Authoring starts: the button shows, 「準備中…」 while the model loads, or
    // disabled with a tooltip naming the package when it is not installed.
    void begin();
    // Authoring ends, or never started: the button and the offered faces go,
    // a search still running is dropped; the model, or the load still
    // running, is kept for the next authoring a while.
    void end();

    bool modelReady() const { return model_ != nullptr; }
    // Loads started since this finder was made, for the window's tests.
    int modelLoadsStarted() const { return loadsStarted_; }
    bool searching() const { return searching_; }
    // Searches photo for faces; onSearched runs with the result (faces
    // highest score first), unless authoring ended meanwhile.
    void search(const QImage& photo);
    std::function<void(const FaceSearch& search)> onSearched;

    // Offers the faces of a search as small pictures cut from photo, the
    // chosen one framed, with a word beside the button that they can be
    // clicked; nothing when there is only one; the word that none was found
    // when there is none. A click on another runs onChosen with its index.
    void offerFaces(const FaceSearch& search, const QImage& photo, int chosen);
    std::function<void(int face)> onChosen;
    // The player zooms or outlines: the word that no face was found goes.
    void dropNoFaceNote();
    // The offered pictures, for the window's tests.
    const std::vector<ImageControl*>& offeredFaces() const { return offered_; }

private:
    void startLoad();
    void modelLoaded();
    void showModelState();
    void releaseModel();
    void searchDone();
    void clearOffer();
    void showNote(const QString& text);

    Board& board_;
    UserDialogs& dialogs_;
    QString modelPath_;
    std::shared_ptr<const FaceModel> model_;
    std::unique_ptr<QFutureWatcher<FaceModelLoad>> loading_;  // the one load running
    std::optional<QString> loadError_;  // a failed load, to tell the authoring
    QTimer keepTimer_;
    int loadsStarted_ = 0;
    struct Searched;
    std::unique_ptr<QFutureWatcher<Searched>> searchWork_;
    bool searching_ = false;
    int session_ = 0;  // counts authoring sessions; a search of an ended one is dropped
    bool active_ = false;
    std::vector<ImageControl*> offered_;
    CaptionLabel* note_;  // beside the button: what the last search found
};
