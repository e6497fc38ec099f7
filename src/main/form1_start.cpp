// SPDX-License-Identifier: GPL-3.0-or-later
// Program start: the window, its screens and the per-face controls, reading
// the catalogue, the title's ticks, and what one screen's action means for
// the others.
#include "main/form1.h"

#include "about/form2.h"
#include "authoring/face_authoring.h"
#include "authoring/face_deleting.h"
#include "authoring/photo_input.h"
#include "board/caption_label.h"
#include "board/command_button.h"
#include "board/image_control.h"
#include "board/painted_cells.h"
#include "board/scroll_box.h"
#include "card/card_window.h"
#include "card/new_year.h"
#include "catalogue/catalogue_files.h"
#include "desktop/qt_desktop_shell.h"
#include "desktop/qt_user_dialogs.h"
#include "desktop/steady_clock.h"
#include "files/app_error.h"
#include "files/app_paths.h"
#include "music/music_player.h"
#include "party/party_screen.h"
#include "party/party_setup_dialog.h"
#include "play/face_selection.h"
#include "play/game_screen.h"
#include "play/library_viewer.h"
#include "play/visible_pictures.h"

#include <QCloseEvent>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <algorithm>

TForm1::TForm1(const QString& appDir, Form1Services s) : AppDir(appDir), services(std::move(s)) {
    if (!AppDir.endsWith(QLatin1Char('/'))) AppDir += QLatin1Char('/');
    if (!services.clock) services.clock = steadyClockMs;
    if (!services.dialogs)
        services.dialogs = std::make_unique<QtUserDialogs>(this, dialogMemoryFolder(AppDir), services.clock);
    if (!services.partySetup) services.partySetup = std::make_unique<QtPartySetupDialog>(this);
    if (!services.shell) services.shell = std::make_unique<QtDesktopShell>();
    if (!services.random) services.random = std::make_unique<ClockSeededRandom>();
    if (!services.media) services.media = createMediaControl();
    if (!services.today) services.today = [] { return QDate::currentDate(); };

    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    createControls();
    createScreens();
    connectCells();
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
    pictures_ = std::make_unique<VisiblePictures>(AppDir);
    faceSelection_ = std::make_unique<FaceSelection>(board, AppDir, catalogue, dialogs, *pictures_);
    game_ = std::make_unique<GameScreen>(board, AppDir, catalogue, dialogs, *services.random, background_, *pictures_);
    // The card window belongs to the window: the viewer only says which face.
    libraryViewer_ = std::make_unique<LibraryViewer>(board, AppDir, [this](const QStringList& names, const QString& name) {
        if (!cardWindow_) cardWindow_ = std::make_unique<CardWindow>(this, AppDir, *services.dialogs);
        cardWindow_->openOn(names, name, comingNewYear(services.today()));
    });
    connect(libraryViewer_->BitBtnNengazyo, &QPushButton::clicked, this, [this] { BitBtnNengazyoClick(); });
    connect(libraryViewer_->BitBtnKopi, &QPushButton::clicked, this, [this] { BitBtnKopiClick(); });
    connect(libraryViewer_->CopyShortcut, &QShortcut::activated, this, [this] { BitBtnKopiClick(); });
    faceAuthoring_ = std::make_unique<FaceAuthoring>(board, AppDir, catalogue, dialogs, background_);
    faceDeleting_ = std::make_unique<FaceDeleting>(board, AppDir, catalogue, dialogs, background_);
    musicPlayer_ = std::make_unique<MusicPlayer>(board, AppDir, dialogs, *services.random, *services.media);
    party_ = std::make_unique<PartyScreen>(board, AppDir, catalogue, dialogs, *services.partySetup);
    // A party's turns are games; their judgements come back to the party.
    party_->onStartTurn = [this](int face, const PartySetup::Player& player, std::function<void()> failed) {
        game_->startTurn(face, player.name, player.blindfolded, std::move(failed));
    };
    party_->onLeaveTurn = [this] { game_->leaveGame(); };
    game_->onTurnJudged = [this](const JudgedTurn& turn) { party_->turnJudged(turn); };
    faceAuthoring_->onFaceRegistered = [this] { faceRegistered(); };
    faceDeleting_->onFaceDeleted = [this](int face) { faceDeleted(face); };
    background_.onRunningChanged = [this](bool running) {
        showBusyCursor();
        // A change renames the pictures meanwhile: what is decoded while it
        // runs may be another face's picture.
        if (running)
            pictures_->changeBegins();
        else
            pictures_->changeEnded();
    };
    faceAuthoring_->onLoadingPhotoChanged = [this](bool) { showBusyCursor(); };
    // A photograph dropped or pasted: welcome on the face selection, in the
    // authoring and in the saved-faces viewer, which it leaves once the
    // photograph is in; never while a change is written.
    new PhotoInput(
        *this, *Paste1,
        [this] {
            return !background_.running() && !party_->running() && !faceDeleting_->active() &&
                   (F1->isEnabled() || faceAuthoring_->adding() || !ListBox1->isHidden());
        },
        [this](const PhotoSource& source) {
            guarded([&] {
                faceAuthoring_->openPhoto(source, [this] {
                    if (ListBox1->isHidden()) return;
                    BitBtnCancel->hide();
                    libraryViewer_->close();
                });
            });
        });
}

void TForm1::finishPendingWork() {
    finishStartUp();
    faceAuthoring_->finishLoadingPhoto();
    background_.finish();
    if (cardWindow_) cardWindow_->finishPendingWork();
    // The pictures wanted so far, those the work's end asked for included.
    faceSelection_->finishThumbnails();
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

namespace {

// What start-up reads of the catalogue, read on the background thread: a
// catalogue of thousands of faces takes longer than a frame to list and
// parse. The errors are told on the window's thread, in this order.
struct StartingCatalogue {
    QString recoveryError;
    StartingFaceData faces;
    QString settingsError;
};

StartingCatalogue readStartingCatalogue(const QString& appDir) {
    StartingCatalogue read;
    // A change that a crash interrupted is finished or taken back before
    // anything is read; if that fails the user hears why, and the catalogue
    // is read as it is.
    try {
        recoverCatalogue(appDir);
    } catch (const AppError& e) {
        read.recoveryError = e.message();
    }
    // Settings that cannot be read are told, and no face is offered.
    try {
        read.faces = readStartingFaceData(appDir);
    } catch (const AppError& e) {
        read.settingsError = e.message();
    }
    return read;
}

}  // namespace

void TForm1::readCatalogue() {
    auto read = std::make_shared<StartingCatalogue>();
    background_.start([appDir = AppDir, read] { *read = readStartingCatalogue(appDir); },
                      [this, read](std::exception_ptr) {
                          if (!read->recoveryError.isEmpty()) services.dialogs->showError(read->recoveryError);
                          const StartingCount& start = read->faces.start;
                          if (!start.error.isEmpty()) services.dialogs->showError(start.error);
                          catalogue.faceCount = start.count;
                          catalogue.faceAnswers.assign(size_t(start.count), FaceAnswer{});
                          game_->facesChanged(start.count);
                          // The thumbnails on screen are decoded on all cores behind the title.
                          faceSelection_->startThumbnailGrid();
                          for (int s = 1; s <= 4; ++s) SetUpPalette(paletteBox(s));
                          if (!read->settingsError.isEmpty()) services.dialogs->showError(read->settingsError);
                          catalogue.faceAnswers = std::move(read->faces.answers);
                          // What the data folder holds besides the catalogue comes after the
                          // catalogue's sweep, which listed the folder once and keeps its
                          // names: a Play.ini or Parties.ini not made yet is looked for in
                          // every letter case without listing thousands of pictures again.
                          // The game menu's choices, then the record of the parties (read
                          // behind the window, for the offer of a party cut short).
                          startUpSteps_.push_back([this] { game_->loadPlayChoices(); });
                          startUpSteps_.push_back([this] { party_->readRecord(); });
                          QTimer::singleShot(0, this, [this] { runStartUpStep(); });
                      });
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
    for (;;) {
        while (!startUpSteps_.empty() && !startUpStepRunning_) runStartUpStep();
        // The catalogue read behind the title (nothing else runs there
        // meanwhile); its end adds the steps that follow it.
        if (!faceSelection_->titleShowing() || startUpStepRunning_ || !background_.running()) return;
        background_.finish();
    }
}

void TForm1::connectCells() {
    ThumbnailGrid->onClick = [this](int face) {
        if (commandsOverThumbnailsSettled()) ImgFace0Click(face);
    };
    for (int s = 1; s <= 4; ++s) {
        PaintedCells* palette = PartCells[s];
        palette->onMouseDown = [this, s](int face, Qt::MouseButton button, QPoint at) {
            PartsMouseDown(PartRef{s, face}, button, at.x(), at.y());
        };
        // Moves and the release reach the pressed widget while it holds the mouse.
        palette->onMouseMove = [this, palette](Qt::MouseButtons, QPoint at) {
            guarded([&] { game_->partMouseMove(palette, at); });
        };
        palette->onMouseUp = [this, palette](Qt::MouseButton button, QPoint at) {
            guarded([&] { game_->partMouseUp(palette, button, at); });
        };
        ImageControl* onFace = FaceParts[s];
        onFace->onMouseDown = [this, s](ImageControl*, Qt::MouseButton button, QPoint at) {
            if (partOnFace[s] >= 0) PartsMouseDown(PartRef{s, partOnFace[s]}, button, at.x(), at.y());
        };
        onFace->onMouseMove = [this](ImageControl* sender, Qt::MouseButtons, QPoint at) {
            guarded([&] { game_->partMouseMove(sender, at); });
        };
        onFace->onMouseUp = [this](ImageControl* sender, Qt::MouseButton button, QPoint at) {
            guarded([&] { game_->partMouseUp(sender, button, at); });
        };
    }
}

bool TForm1::commandsOverThumbnailsSettled() const {
    for (const CommandButton* button : {BitBtnHantei, BitBtnToroku, BitBtnCancel})
        if (button->geometry().intersects(ScrollBox1->geometry()) && !button->settled()) return false;
    return true;
}

void TForm1::faceRegistered() {
    const int count = catalogue.faceCount;
    // Nothing kept under the new face's number belongs to it.
    pictures_->forgetFace(count - 1);
    game_->facesChanged(count);
    // The pictures come in behind the window, never waited for here.
    faceSelection_->startThumbnailGrid();
    for (int s = 1; s <= 4; ++s) SetUpPalette(paletteBox(s));
}

void TForm1::faceDeleted(int face) {
    // The faces above the deleted one moved down a number, and so do their
    // decoded pictures.
    faceSelection_->facesMovedDown(face);
    game_->facesChanged(catalogue.faceCount);
    faceSelection_->startThumbnailGrid();
    for (int s = 1; s <= 4; ++s) SetUpPalette(paletteBox(s));
}


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
