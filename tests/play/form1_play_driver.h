// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Playing a game through the real window with real mouse input: starting a
// game, dragging parts and judging, as a player would.
#include "support/test_catalogue.h"
#include "support/window/game_window.h"

#include <QPoint>
#include <QStringList>
#include <array>

class ImageControl;
class QListWidget;

// Leaves the title (when still showing) and clicks the thumbnail of face.
void startGameWith(GameWindow& w, int face);
// Clicks the thumbnail of face on the face selection, whatever it starts.
void clickFace(GameWindow& w, int face);
// Brings the palette tab of slot to the front, as a click on its tab would.
void showPalette(GameWindow& w, int slot);
// Presses the part at grab, moves over target in two steps and releases at
// at (target's own coordinates).
void dragPart(GameWindow& w, ImageControl* part, QPoint grab, QWidget* target, QPoint at,
              Qt::MouseButton button = Qt::LeftButton);
// Drags PartImages[slot][face] from its palette (or from the face) so that its
// top-left corner lands at onFace, a point of the face picture.
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
