// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A game: the palettes dealt at random, parts dragged onto the face, the
// judgement, and saving the composed face under a name. Played seeing or
// blindfolded, with the personal best shown when it is kept. The window
// forwards its handlers here once it has decided that a press belongs to
// the game.
#include "desktop/party_setup.h"
#include "play/blindfold_screen.h"
#include "play/judged_turn.h"
#include "play/personal_best_screen.h"
#include "play/play_state.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <Qt>
#include <functional>
#include <optional>
#include <vector>

class BackgroundWork;
struct Board;
struct GamePictures;
struct CatalogueMirror;
class ImageControl;
class RandomSource;
class ScrollBox;
class UserDialogs;
class QWidget;

class GameScreen {
public:
    GameScreen(Board& board, const QString& appDir, const CatalogueMirror& catalogue, UserDialogs& dialogs,
               RandomSource& random, BackgroundWork& background);

    const PlayState& state() const { return play_; }
    Blindfold& blindfold() { return blindfold_; }
    const Blindfold& blindfold() const { return blindfold_; }

    // ---- The catalogue's part images in the palettes ----
    // The home cells follow a catalogue of count faces.
    void facesChanged(int count);
    void SetUpPalette(std::vector<ImageControl*>& images, ScrollBox* box);
    void ShufflePalette(std::vector<ImageControl*>& images);

    // ---- The game menu's choices, kept in Data\Play.ini ----
    void loadPlayChoices();
    void Blind1Click();
    void Best1Click();

    // ---- Playing ----
    // Starts a game on the thumbnail's face: its pictures are decoded on the
    // background thread, and the game shows once they are in. When a picture
    // cannot be read the error is reported, failed runs, and the face
    // selection stays as it was.
    void startGame(ImageControl* thumbnail, std::function<void()> failed);
    // The same for a party's turn on face: the player plays blindfolded or
    // not whatever the game menu says, their own best counts, and the
    // judgement is reported to onTurnJudged.
    void startTurn(int face, const PartySetup::Player& player, std::function<void()> failed);
    std::function<void(const JudgedTurn&)> onTurnJudged;
    // The board cleared for the next player: the face, palettes, result and
    // parts put away, the command buttons hidden; the face selection is not
    // shown.
    void leaveGame();
    void PartsMouseDown(ImageControl* sender, Qt::MouseButton button, int x, int y);
    // The pressed part's moves and release while it holds the mouse.
    void partMouseMove(ImageControl* sender, QPoint at);
    void partMouseUp(ImageControl* sender, Qt::MouseButton button, QPoint at);
    void PartsDragOver(ImageControl* sender, ImageControl* source, int x, int y, bool& accept);
    void PartsDragDrop(ImageControl* sender, ImageControl* source, int x, int y);
    void ImgFace1DragOver(ImageControl* sender, ImageControl* source, int x, int y, bool& accept);
    void ImgFace1DragDrop(ImageControl* sender, ImageControl* source, int x, int y);
    void BlindTimerTimer();
    // "判定": under the cloth the reveal comes first, then the judgement.
    bool covered() const { return blindfold_.covering(); }
    void startReveal();
    void judgeFace();
    // "再開" after the judgement, and "キャンセル" while placing.
    void resumeGame();
    void cancel();

    // ---- Saving the judged face ----
    void askForSaveName();
    void Edit1Change();
    void saveFinishedFace();

private:
    void startOnFace(int face, std::function<void()> failed);
    void showGame(int face, const GamePictures& pictures);
    void recordHomePositions();
    void sendPartHome(int slot, int face);
    void recordDrop(ImageControl* source);
    void returnPartsToPalettes();
    void savePlayChoices();
    void beginDrag(ImageControl* source, Qt::MouseButton button, QPoint clientPos);
    void endDrag(ImageControl* source);
    void updateDragCursor(ImageControl* source, QPoint windowPos);
    void finishDrag(ImageControl* source, QPoint windowPos);
    ImageControl* partImageAt(QPoint clientPos) const;
    bool isPartImage(const QWidget* widget) const;
    void placeOnFace(ImageControl* part, int left, int top);
    QImage composeBoardPicture() const;

    Board& board_;
    const QString appDir_;
    const CatalogueMirror& catalogue_;
    UserDialogs& dialogs_;
    RandomSource& random_;
    BackgroundWork& background_;
    PlayState play_;
    Blindfold blindfold_;
    PersonalBest best_;
    std::optional<PartySetup::Player> turn_;  // set while a party's turn is played
};
