// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A game: the palettes dealt at random, parts dragged onto the face, the
// judgement, and saving the composed face under a name. Played seeing or
// blindfolded, with the personal best shown when it is kept. The window
// forwards its handlers here once it has decided that a press belongs to
// the game.
#include "board/judged_turn.h"
#include "play/blindfold_screen.h"
#include "play/personal_best_screen.h"
#include "play/play_state.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <Qt>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class BackgroundWork;
struct Board;
struct CellPicture;
struct PictureKey;
class VisiblePictures;
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
               RandomSource& random, BackgroundWork& background, VisiblePictures& pictures);

    const PlayState& state() const { return play_; }
    Blindfold& blindfold() { return blindfold_; }
    const Blindfold& blindfold() const { return blindfold_; }

    // ---- The catalogue's part images in the palettes ----
    // The home cells follow a catalogue of count faces.
    void facesChanged(int count);
    // The palette in box holds a part of every face of the catalogue.
    void SetUpPalette(ScrollBox* box);
    // Deals the parts of slot at random over its palette's cells, every
    // palette scrolled to the top.
    void ShufflePalette(int slot);

    // ---- The game menu's choices, kept in Data\Play.ini ----
    void loadPlayChoices();
    void Blind1Click();
    void Best1Click();

    // ---- Playing ----
    // Starts a game on face: the palettes are dealt, the pictures of the
    // first screen are decoded on the background thread, and the game shows
    // once they are in. When a picture cannot be read the error is reported,
    // failed runs, and the face selection stays as it was.
    void startGame(int face, std::function<void()> failed);
    // The same for a party's turn on face: the player plays blindfolded or
    // not whatever the game menu says, their own best (kept under their
    // name) counts, and the judgement is reported to onTurnJudged.
    void startTurn(int face, const QString& player, bool blindfolded, std::function<void()> failed);
    std::function<void(const JudgedTurn&)> onTurnJudged;
    // The board cleared for the next player: the face, palettes, result and
    // parts put away, the command buttons hidden; the face selection is not
    // shown.
    void leaveGame();
    // A press on a part, in its palette or on the face; x, y inside the part.
    void PartsMouseDown(PartRef part, Qt::MouseButton button, int x, int y);
    // The moves and release that reach the widget holding the mouse (a
    // palette or a part on the face) while a part is pressed; at in its
    // coordinates.
    void partMouseMove(QWidget* sender, QPoint at);
    void partMouseUp(QWidget* sender, Qt::MouseButton button, QPoint at);
    void PartsDragOver(PartRef target, PartRef source, int x, int y, bool& accept);
    void PartsDragDrop(PartRef target, PartRef source, int x, int y);
    void ImgFace1DragOver(ImageControl* sender, PartRef source, int x, int y, bool& accept);
    void ImgFace1DragDrop(ImageControl* sender, PartRef source, int x, int y);
    // The picture a palette cell shows, null while it is not decoded.
    const CellPicture* partPicture(int slot, int face);
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
    void applyDeal(int slot, std::vector<int> cells);
    void recordHomePositions();
    void sendPartHome(int slot, int face);
    void recordDrop(PartRef source);
    void returnPartsToPalettes();
    void savePlayChoices();
    // The parts of slot on its palette's screen and a screen above and below it.
    void wantShownParts(int slot);
    // A palette was painted: the first time after a game start, the screens
    // around the palettes' first ones are wanted once the paint is over.
    void firstScreenPainted();
    void partArrived(const PictureKey& key, const CellPicture& picture);
    void beginDrag(QWidget* grabber, Qt::MouseButton button, QPoint clientPos);
    void endDrag();
    void updateDragCursor(QPoint windowPos);
    void finishDrag(QPoint windowPos);
    // The part under a point of the client area, in a palette or on the face.
    std::optional<PartRef> partAt(QPoint clientPos, QPoint* inPart) const;
    QWidget* widgetOf(PartRef part) const;
    QPoint partTopLeft(PartRef part) const;  // in the coordinates of widgetOf
    void placeOnFace(PartRef part, int left, int top);
    QImage composeBoardPicture() const;

    Board& board_;
    const QString appDir_;
    const CatalogueMirror& catalogue_;
    UserDialogs& dialogs_;
    RandomSource& random_;
    BackgroundWork& background_;
    VisiblePictures& pictures_;
    PlayState play_;
    Blindfold blindfold_;
    PersonalBest best_;
    // Set while a party's turn is played.
    struct TurnPlayer {
        QString name;
        bool blindfolded = false;
    };
    std::optional<TurnPlayer> turn_;
    bool holdingFurtherParts_ = false;  // from a game start to its first paint
    bool releaseQueued_ = false;
    int gamesStarted_ = 0;
};
