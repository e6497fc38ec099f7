// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the window description (every control with its name,
// place, font and colour, and the menu), the composition of the screens at
// start-up, and the switchboard. Each handler keeps its name and forwards to
// the screen that owns the behaviour; the three command buttons, a thumbnail
// click and Timer1 are dispatched from the buttons' captions and the screens'
// flags. The window owns no screen's state.
#include "audio/media_control.h"
#include "board/board.h"
#include "catalogue/background_work.h"
#include "catalogue/catalogue_mirror.h"
#include "desktop/random_source.h"
#include "desktop/user_dialogs.h"
#include "party/party_setup_dialog.h"
#include "play/play_state.h"

#include <QDate>
#include <QMainWindow>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class CardWindow;
class FaceAuthoring;
class FaceDeleting;
class FaceSelection;
class GameScreen;
class LibraryViewer;
class MusicPlayer;
class PartyScreen;
class TForm2;
class VisiblePictures;

// What the window needs from outside. Anything left empty gets the real one
// (Qt dialogs, the desktop, a clock-seeded generator, FluidSynth).
struct Form1Services {
    std::unique_ptr<UserDialogs> dialogs;
    std::unique_ptr<PartySetupDialog> partySetup;
    std::unique_ptr<DesktopShell> shell;
    std::unique_ptr<RandomSource> random;
    std::unique_ptr<MediaControl> media;
    // False in tests: the timers run (isActive) but their ticks are delivered
    // by the test calling Timer1Timer / MusicTimerTimer / BlindTimerTimer itself.
    bool timersCallHandlers = true;
    // Today's date (the New Year card's year follows it); empty: the clock's.
    std::function<QDate()> today;
    // A steady clock in milliseconds, by which a press that comes too soon
    // after a command button changed is known; empty: the system's.
    std::function<qint64()> clock;
};

class TForm1 : public QMainWindow, public Board {
    Q_OBJECT
public:
    // appDir: the game's folder with one trailing "/".
    TForm1(const QString& appDir, Form1Services services = {});
    ~TForm1() override;

    // ---- Program start and title ----
    void FormCreate();
    void Timer1Timer();

    // ---- Command buttons: dispatched by caption and flags ----
    void BitBtnHanteiClick();
    void BitBtnCancelClick();
    void BitBtnTorokuClick();
    // A click on the thumbnail of face.
    void ImgFace0Click(int face);

    // ---- Playing ----
    void SetUpPalette(ScrollBox* box);
    void PartsMouseDown(PartRef sender, Qt::MouseButton button, int x, int y);
    void Edit1Change();
    // Enter in the name box saves, as a click on 「保存」 does.
    void Edit1ReturnPressed();
    void R1Click();
    void ListBox1Click();
    void BitBtnNengazyoClick();
    void BitBtnKopiClick();
    void Blind1Click();
    void Best1Click();
    void BlindTimerTimer();
    void Party1Click();
    void History1Click();

    // ---- Authoring and deleting ----
    void A1Click();
    void D1Click();
    void BitBtnZidoClick();
    void ImgFace1MouseDown(Qt::MouseButton button, int x, int y);
    void ImgFace1MouseMove(int x, int y);
    void ImgFace1MouseUp(Qt::MouseButton button, int x, int y);
    void LblRMeMouseDown(Qt::MouseButton button);
    void LblLMeMouseDown(Qt::MouseButton button);
    void LblHanaMouseDown(Qt::MouseButton button);
    void LblKutiMouseDown(Qt::MouseButton button);

    // ---- Background music ----
    void StartMusic();
    void MusicTimerTimer();
    void ONO1Click();
    void OFFF1Click();
    void S1Click();
    void R2Click();
    void FormClose();

    // ---- About and help ----
    void About1Click();
    void Help1Click();

    // ---- The screens ----
    FaceSelection& faceSelection() const { return *faceSelection_; }
    GameScreen& game() const { return *game_; }
    LibraryViewer& libraryViewer() const { return *libraryViewer_; }
    FaceAuthoring& faceAuthoring() const { return *faceAuthoring_; }
    FaceDeleting& faceDeleting() const { return *faceDeleting_; }
    MusicPlayer& musicPlayer() const { return *musicPlayer_; }
    // The catalogue pictures decoded for the thumbnails and the palettes.
    VisiblePictures& pictures() const { return *pictures_; }
    PartyScreen& party() const { return *party_; }
    // The New Year card's window once it has been opened, else null.
    CardWindow* cardWindow() const { return cardWindow_.get(); }

    QString AppDir;
    CatalogueMirror catalogue;  // the count and answers every screen reads
    Form1Services services;
    TForm2* Form2 = nullptr;

    // Runs a handler's body; the program's errors end it and are shown in a
    // message box. Nested calls let the error through to the outermost one.
    void guarded(const std::function<void()>& body);

    // While a registration or a deletion is written, or a game start's
    // pictures are decoded, on the background thread, or a photograph chosen
    // for a new face is decoded, the window stays responsive, shows a busy
    // cursor and refuses any input that would change or read the catalogue,
    // or leave the screen: a press then does nothing at all (it is not kept
    // for later). Only another photograph may be chosen meanwhile.
    bool busy() const;
    // Lets the work the window does behind its back (the start-up's steps,
    // the thumbnails being decoded, the background thread's work) finish now
    // and takes its results, as the event loop does when it comes round: for
    // tests and benchmarks, which call handlers without running the loop.
    void finishPendingWork();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // guarded, or nothing at all while busy.
    void unlessBusy(const std::function<void()>& body);
    void showBusyCursor();
    // The window description (form1_layout.cpp).
    void createControls();
    void createMenu();
    void connectHandlers();
    // The screens and what one screen's action means for another.
    void createScreens();
    // The thumbnail grid, the palettes and the parts on the face handed to
    // their handlers.
    void connectCells();
    // The start-up's steps after the first paint (FormCreate).
    void readCatalogue();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void runStartUpStep();
    void finishStartUp();
    void faceRegistered();
    void faceDeleted(int face);
    // Whether the command buttons lying over the thumbnails have settled: a
    // press just after one went away lands on the thumbnail beneath.
    bool commandsOverThumbnailsSettled() const;

    // Before the screens: a change still running when the window goes is
    // waited for after they are gone, and never hands anything to them.
    BackgroundWork background_;
    std::unique_ptr<VisiblePictures> pictures_;
    std::unique_ptr<FaceSelection> faceSelection_;
    std::unique_ptr<GameScreen> game_;
    std::unique_ptr<LibraryViewer> libraryViewer_;
    std::unique_ptr<FaceAuthoring> faceAuthoring_;
    std::unique_ptr<FaceDeleting> faceDeleting_;
    std::unique_ptr<MusicPlayer> musicPlayer_;
    std::unique_ptr<PartyScreen> party_;
    std::unique_ptr<CardWindow> cardWindow_;
    int guardDepth_ = 0;
    std::deque<std::function<void()>> startUpSteps_;
    bool startUpStarted_ = false;
    bool startUpStepRunning_ = false;
};
