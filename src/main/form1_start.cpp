// SPDX-License-Identifier: GPL-3.0-or-later
// Program start: the window, its screens and the per-face controls, reading
// the catalogue, the title's ticks, and what one screen's action means for
// the others.
#include "main/form1.h"

#include "about/form2.h"
#include "authoring/face_authoring.h"
#include "authoring/face_deleting.h"
#include "board/caption_label.h"
#include "board/image_control.h"
#include "catalogue/catalogue_files.h"
#include "desktop/qt_desktop_shell.h"
#include "desktop/qt_user_dialogs.h"
#include "files/app_error.h"
#include "files/app_paths.h"
#include "music/music_player.h"
#include "play/face_selection.h"
#include "play/game_screen.h"
#include "play/library_viewer.h"
#include "play/party_screen.h"

#include <QCloseEvent>
#include <QTimer>
#include <algorithm>

TForm1::TForm1(const QString& appDir, Form1Services s) : AppDir(appDir), services(std::move(s)) {
    if (!AppDir.endsWith(QLatin1Char('/'))) AppDir += QLatin1Char('/');
    if (!services.dialogs) services.dialogs = std::make_unique<QtUserDialogs>(this, dialogMemoryFolder(AppDir));
    if (!services.shell) services.shell = std::make_unique<QtDesktopShell>();
    if (!services.random) services.random = std::make_unique<ClockSeededRandom>();
    if (!services.media) services.media = createMediaControl();

    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    createControls();
    createScreens();
    game_->loadPlayChoices();
    faceSelection_->loadTitlePictures();
    Timer1->start();
    installEventFilter(this);
    ClientArea->installEventFilter(this);
    FormCreate();
    setFixedSize(sizeHint());
    // The About box, created hidden; closing it gives the music back.
    Form2 = new TForm2(this, ImgRogo->picture(), *services.shell, [this] { musicPlayer_->resumeAfterAbout(); });
    Form2->hide();
}

TForm1::~TForm1() = default;

void TForm1::createScreens() {
    Board& board = *this;
    UserDialogs& dialogs = *services.dialogs;
    faceSelection_ = std::make_unique<FaceSelection>(board, AppDir, catalogue, dialogs);
    game_ = std::make_unique<GameScreen>(board, AppDir, catalogue, dialogs, *services.random, background_);
    libraryViewer_ = std::make_unique<LibraryViewer>(board, AppDir);
    faceAuthoring_ = std::make_unique<FaceAuthoring>(board, AppDir, catalogue, dialogs, background_);
    faceDeleting_ = std::make_unique<FaceDeleting>(board, AppDir, catalogue, dialogs, background_);
    musicPlayer_ = std::make_unique<MusicPlayer>(board, AppDir, dialogs, *services.random, *services.media);
    party_ = std::make_unique<PartyScreen>(board, AppDir, catalogue, dialogs);
    // A party's turns are games; their judgements come back to the party.
    party_->onStartTurn = [this](int face, const PartySetup::Player& player, std::function<void()> failed) {
        game_->startTurn(face, player, std::move(failed));
    };
    party_->onLeaveTurn = [this] { game_->leaveGame(); };
    game_->onTurnJudged = [this](const JudgedTurn& turn) { party_->turnJudged(turn); };
    faceAuthoring_->onFaceRegistered = [this] { faceRegistered(); };
    faceDeleting_->onFaceDeleted = [this](int face) { faceDeleted(face); };
    background_.onRunningChanged = [this](bool running) {
        if (running)
            setCursor(Qt::BusyCursor);
        else
            unsetCursor();
    };
}

void TForm1::finishPendingWork() {
    finishStartUp();
    faceSelection_->finishThumbnails();
    background_.finish();
    party_->finishWrites();
}

void TForm1::guarded(const std::function<void()>& body) {
    if (guardDepth_ > 0) {
        body();
        return;
    }
    ++guardDepth_;
    try {
        body();
    } catch (const AppError& e) {
        --guardDepth_;
        services.dialogs->showError(e.message());
        return;
    }
    --guardDepth_;
}

void TForm1::FormCreate() {
    // The first paint shows the title alone; everything the catalogue needs
    // comes after it, a step per turn of the event loop (readCatalogue), and
    // is done by the end of the title.
    guarded([&] { faceSelection_->beginTitle(); });
    startUpSteps_.push_back([this] { readCatalogue(); });
}

void TForm1::readCatalogue() {
    // A change that a crash interrupted is finished or taken back before
    // anything is read; if that fails the user hears why, and the catalogue
    // is read as it is.
    try {
        recoverCatalogue(AppDir);
    } catch (const AppError& e) {
        services.dialogs->showError(e.message());
    }
    const StartingCount start = startingFaceCount(AppDir);
    if (!start.error.isEmpty()) services.dialogs->showError(start.error);
    catalogue.faceCount = start.count;
    catalogue.faceAnswers.assign(start.count, FaceAnswer{});
    game_->facesChanged(start.count);
    addThumbnails(0, start.count);
    // The thumbnails are decoded on all cores behind the title; the part
    // images are created in batches meanwhile, then the answers are read.
    faceSelection_->startThumbnailGrid();
    for (int from = 0; from < start.count; from += kPartImagesPerStep) {
        const int to = std::min(start.count, from + kPartImagesPerStep);
        startUpSteps_.push_back([this, from, to] { addPartImages(from, to); });
    }
    startUpSteps_.push_back([this] {
        for (int s = 1; s <= 4; ++s) SetUpPalette(PartImages[s], paletteBox(s));
    });
    startUpSteps_.push_back([this] { LoadFaceAnswers(); });
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && !startUpStarted_) {
        startUpStarted_ = true;
        QTimer::singleShot(0, this, [this] { runStartUpStep(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::runStartUpStep() {
    // A step that shows a message runs the event loop inside it; the steps
    // after it wait for it.
    if (startUpSteps_.empty() || startUpStepRunning_) return;
    const std::function<void()> step = std::move(startUpSteps_.front());
    startUpSteps_.pop_front();
    startUpStepRunning_ = true;
    guarded(step);
    startUpStepRunning_ = false;
    if (!startUpSteps_.empty()) QTimer::singleShot(0, this, [this] { runStartUpStep(); });
}

void TForm1::finishStartUp() {
    while (!startUpSteps_.empty() && !startUpStepRunning_) runStartUpStep();
}

void TForm1::addThumbnails(int from, int to) {
    createThumbnails(from, to);
    for (int i = from; i < to; ++i) Thumbnails[i]->onClick = [this](ImageControl* sender) { ImgFace0Click(sender); };
}

void TForm1::addPartImages(int from, int to) {
    createPartImages(from, to);
    for (int i = from; i < to; ++i) {
        for (int s = 1; s <= 4; ++s) {
            ImageControl* part = PartImages[s][i];
            part->onMouseDown = [this](ImageControl* sender, Qt::MouseButton button, QPoint at) {
                PartsMouseDown(sender, button, at.x(), at.y());
            };
            // Moves and the release reach the pressed part while it holds the mouse.
            part->onMouseMove = [this](ImageControl* sender, Qt::MouseButtons, QPoint at) {
                guarded([&] { game_->partMouseMove(sender, at); });
            };
            part->onMouseUp = [this](ImageControl* sender, Qt::MouseButton button, QPoint at) {
                guarded([&] { game_->partMouseUp(sender, button, at); });
            };
        }
    }
}

void TForm1::faceRegistered() {
    const int count = catalogue.faceCount;
    const int before = int(Thumbnails.size());
    addThumbnails(before, count);
    addPartImages(before, count);
    game_->facesChanged(count);
    BuildThumbnailGrid();
    for (int s = 1; s <= 4; ++s) SetUpPalette(PartImages[s], paletteBox(s));
}

void TForm1::faceDeleted(int face) {
    // The faces above the deleted one moved down a number: their thumbnails
    // take the pictures of the next ones (the part images are loaded at each
    // game start anyway), and the last face's controls go.
    faceSelection_->facesMovedDown(face);
    releaseFaceControls(catalogue.faceCount);
    game_->facesChanged(catalogue.faceCount);
    BuildThumbnailGrid();
    for (int s = 1; s <= 4; ++s) SetUpPalette(PartImages[s], paletteBox(s));
}

void TForm1::LoadFaceAnswers() { catalogue.faceAnswers = readFaceAnswers(AppDir, catalogue.faceCount); }

void TForm1::Timer1Timer() {
    guarded([&] {
        // Timer1 beats the title, and later the blink of a face chosen for deletion.
        if (!faceSelection_->titleShowing()) {
            faceDeleting_->blinkChosenThumbnail();
            return;
        }
        // Long done on any machine by the first tick; the title never ends
        // before the start-up has (a tick while a start-up step shows a
        // message does not count).
        finishStartUp();
        if (startUpStepRunning_) return;
        if (!faceSelection_->titleTick()) return;
        StartMusic();
        party_->offerResume();
    });
}

void TForm1::closeEvent(QCloseEvent* event) {
    // A change being written is let finish before the window goes.
    background_.finish();
    FormClose();
    event->accept();
}
