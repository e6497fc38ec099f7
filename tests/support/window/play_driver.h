// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Playing a game through the real window with real mouse input: starting a
// game, dragging parts and judging, as a player would.
#include "support/test_catalogue.h"
#include "support/window/game_window.h"

#include <QPoint>
#include <QStringList>
#include <array>

class QListWidget;

// Leaves the title (when still showing) and clicks the thumbnail of face.
void startGameWith(GameWindow& w, int face);
// Clicks the thumbnail of face on the face selection, whatever it starts.
void clickFace(GameWindow& w, int face);
// Brings the palette tab of slot to the front, as a click on its tab would.
void showPalette(GameWindow& w, int slot);

// ---- The part of slot of face: a cell of its palette, or on the face ----
// Where it lies now, for the mouse.
Spot partSpot(GameWindow& w, int slot, int face);
bool partOnFace(const GameWindow& w, int slot, int face);
// Its top-left corner: in its palette's content, or in the window's client
// area while it lies on the face.
QPoint partPos(const GameWindow& w, int slot, int face);
// Drawn: on the face and not under the cloth, or in the palette in front
// and not taken out of it.
bool partShown(const GameWindow& w, int slot, int face);
// The picture it draws (in the palette: as drawn in its cell), null while
// it is not decoded.
QImage partPicture(const GameWindow& w, int slot, int face);

// Presses the part at grab, moves over target in two steps and releases at
// at (target's own coordinates).
void dragPart(GameWindow& w, Spot part, QPoint grab, Spot target, QPoint at, Qt::MouseButton button = Qt::LeftButton);
// Drags the part of slot of face from its palette (or from the face) so that
// its top-left corner lands at onFace, a point of the face picture.
void placePart(GameWindow& w, int slot, int face, QPoint onFace);
// Places the four parts of face played at their answers moved by offsets[s].
void placeAtAnswers(GameWindow& w, const FaceAnswer& answer, const std::array<QPoint, 5>& offsets = {});
// Clicks the judge/resume button or the cancel/save button.
void clickHantei(GameWindow& w);
void clickCancel(GameWindow& w);

// Leaves the title (when still showing) and starts a party through
// 遊び方 → 「みんなで遊ぶ」, the dialog answered with setup.
void startParty(GameWindow& w, const PartySetup& setup);
// A party's turn from its hand-over: 「はじめる」, the four parts at the
// answers moved by offsets, 「判定」; for a blindfolded player the look is
// counted down first and the cloth lifted at the end.
void playPartyTurn(GameWindow& w, const FaceAnswer& answer, const std::array<QPoint, 5>& offsets = {});

// Types text into a field key by key, Japanese characters included.
void typeText(QWidget* field, const QString& text);

QStringList listItems(const QListWidget* list);
// Whether two colours are within a JPEG's noise of each other.
bool nearColour(QRgb a, QRgb b, int tolerance = 24);
