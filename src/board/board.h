// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The controls of the main window that the screens share: every screen shows,
// hides and fills the ones it uses. The window creates them (with their
// names, places, fonts and colours) and owns them; the screens keep a
// reference to the one Board.
#include <QtGlobal>
#include <array>

class CaptionLabel;
class CommandButton;
class ImageControl;
class PaintedCells;
class ScrollBox;
class QAction;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTabWidget;
class QTimer;
class QWidget;

struct Board {
    QWidget* ClientArea = nullptr;  // the client area below the menu bar, 722 x 524
    QAction* F1 = nullptr;          // the face-editing menu's item in the menu bar
    QMenu* F1Menu = nullptr;
    QAction* A1 = nullptr;
    QAction* D1 = nullptr;
    QAction* Paste1 = nullptr;  // 「貼り付け」: a photograph from the clipboard for a new face (Ctrl+V)
    QAction* R1 = nullptr;
    QAction* G1 = nullptr;  // the game menu, enabled together with F1
    QMenu* G1Menu = nullptr;
    QAction* Blind1 = nullptr;
    QAction* Best1 = nullptr;
    QAction* Party1 = nullptr;    // 「みんなで遊ぶ(&P)…」
    QAction* History1 = nullptr;  // 「みんなの記録(&H)」
    QAction* BGMB1 = nullptr;
    QMenu* BGMB1Menu = nullptr;
    QAction* ONO1 = nullptr;
    QAction* OFFF1 = nullptr;
    QAction* N1 = nullptr;
    QAction* S1 = nullptr;
    QAction* R2 = nullptr;
    QAction* Help1 = nullptr;
    QAction* About1 = nullptr;

    CaptionLabel* Label1 = nullptr;
    ScrollBox* ScrollBox1 = nullptr;
    ImageControl* Image1 = nullptr;
    ImageControl* ImgFace1 = nullptr;
    ImageControl* ImgFace2 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheetRMe = nullptr;
    QWidget* TabSheetLMe = nullptr;
    QWidget* TabSheetHana = nullptr;
    QWidget* TabSheetKuti = nullptr;
    ScrollBox* SBRMe = nullptr;
    ScrollBox* SBLMe = nullptr;
    ScrollBox* SBHana = nullptr;
    ScrollBox* SBKuti = nullptr;
    CaptionLabel* LblScore = nullptr;
    CaptionLabel* LblHantei = nullptr;
    CaptionLabel* LblBest = nullptr;
    ImageControl* ImgMekakushi = nullptr;  // the cloth over the face
    ImageControl* ImgCountDown = nullptr;  // the look's big countdown, in a corner of the face
    // The three command buttons: what a press does follows the caption.
    CommandButton* BitBtnHantei = nullptr;
    CommandButton* BitBtnToroku = nullptr;
    CommandButton* BitBtnCancel = nullptr;
    QPushButton* BitBtnZido = nullptr;  // 「自動で囲む」 of face authoring
    QLineEdit* Edit1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    CaptionLabel* LblRMe = nullptr;
    CaptionLabel* LblLMe = nullptr;
    CaptionLabel* LblHana = nullptr;
    CaptionLabel* LblKuti = nullptr;
    ImageControl* ImgTuikaRMe = nullptr;
    ImageControl* ImgTuikaLMe = nullptr;
    ImageControl* ImgTuikaHana = nullptr;
    ImageControl* ImgTuikaKuti = nullptr;
    ImageControl* ImgTitle = nullptr;
    ImageControl* ImgRogo = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* MusicTimer = nullptr;
    QTimer* BlindTimer = nullptr;

    // The thumbnail of every face, painted in one widget in ScrollBox1 (item
    // = face), and the part of every face in each palette (PartCells[slot],
    // item = face, in the scroll box of its slot).
    PaintedCells* ThumbnailGrid = nullptr;
    std::array<PaintedCells*, 5> PartCells{};
    // A part taken out of its palette onto the face: at most one of each
    // slot lies there, shown by FaceParts[slot]; partOnFace[slot] is its
    // face, -1 while none does. Its cell in the palette is hidden meanwhile.
    std::array<ImageControl*, 5> FaceParts{};
    std::array<int, 5> partOnFace{-1, -1, -1, -1, -1};

    // Whether the library holds saved faces: "保存した顔" is offered with the
    // face selection only then.
    bool libraryHasFaces = false;

    // The palette scroll box, part title and preview of a PartSlot 1..4;
    // null for any other number.
    ScrollBox* paletteBox(int slot) const;
    CaptionLabel* partTitle(int slot) const;
    ImageControl* partPreview(int slot) const;
    // Whether the part of slot of face lies on the face (else in its palette).
    bool liesOnFace(int slot, int face) const { return slot >= 1 && slot <= 4 && partOnFace[slot] == face; }

    // The face selection comes back: its box scrolled to the top, the
    // menus offered, and Label1's prompt.
    void showFaceSelection();
};
