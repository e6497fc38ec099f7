// SPDX-License-Identifier: GPL-3.0-or-later
// The window's handlers, each handed to the screen that owns its behaviour.
// The program's errors end a handler and are shown (guarded).
#include "main/form1.h"

#include "about/form2.h"
#include "about/help_command.h"
#include "authoring/face_authoring.h"
#include "authoring/face_deleting.h"
#include "board/command_button.h"
#include "music/music_player.h"
#include "party/party_screen.h"
#include "play/face_selection.h"
#include "play/game_screen.h"
#include "play/library_viewer.h"

#include <QPushButton>
bool TForm1::busy() const { return background_.running() || faceAuthoring_->loadingPhoto(); }

void TForm1::unlessBusy(const std::function<void()>& body) {
    if (!busy()) guarded(body);
}

void TForm1::showBusyCursor() {
    if (busy())
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void TForm1::SetUpPalette(ScrollBox* box) { game_->SetUpPalette(box); }
void TForm1::PartsMouseDown(PartRef sender, Qt::MouseButton button, int x, int y) {
    unlessBusy([&] { game_->PartsMouseDown(sender, button, x, y); });
}
void TForm1::Edit1Change() { game_->Edit1Change(); }
void TForm1::Edit1ReturnPressed() {
    if (BitBtnCancel->isVisible() && BitBtnCancel->isEnabled()) BitBtnCancelClick();
}
void TForm1::R1Click() { unlessBusy([&] { libraryViewer_->R1Click(); }); }
void TForm1::ListBox1Click() { unlessBusy([&] { libraryViewer_->ListBox1Click(); }); }
void TForm1::BitBtnNengazyoClick() { unlessBusy([&] { libraryViewer_->BitBtnNengazyoClick(); }); }
void TForm1::BitBtnKopiClick() { unlessBusy([&] { libraryViewer_->BitBtnKopiClick(); }); }
void TForm1::Blind1Click() { unlessBusy([&] { game_->Blind1Click(); }); }
void TForm1::Best1Click() { unlessBusy([&] { game_->Best1Click(); }); }
void TForm1::Party1Click() { unlessBusy([&] { party_->Party1Click(); }); }
void TForm1::History1Click() { unlessBusy([&] { party_->History1Click(); }); }
void TForm1::BlindTimerTimer() { guarded([&] { game_->BlindTimerTimer(); }); }

// A photograph still being decoded may be replaced by another choice.
void TForm1::A1Click() {
    if (!background_.running()) guarded([&] { faceAuthoring_->A1Click(); });
}
void TForm1::D1Click() { unlessBusy([&] { faceDeleting_->D1Click(); }); }
void TForm1::BitBtnZidoClick() { unlessBusy([&] { faceAuthoring_->BitBtnZidoClick(); }); }
void TForm1::ImgFace1MouseDown(Qt::MouseButton button, int x, int y) {
    unlessBusy([&] { faceAuthoring_->ImgFace1MouseDown(button, x, y); });
}
void TForm1::ImgFace1MouseMove(int x, int y) { unlessBusy([&] { faceAuthoring_->ImgFace1MouseMove(x, y); }); }
void TForm1::ImgFace1MouseUp(Qt::MouseButton button, int x, int y) {
    unlessBusy([&] { faceAuthoring_->ImgFace1MouseUp(button, x, y); });
}
void TForm1::LblRMeMouseDown(Qt::MouseButton button) { unlessBusy([&] { faceAuthoring_->partTitleMouseDown(1, button); }); }
void TForm1::LblLMeMouseDown(Qt::MouseButton button) { unlessBusy([&] { faceAuthoring_->partTitleMouseDown(2, button); }); }
void TForm1::LblHanaMouseDown(Qt::MouseButton button) { unlessBusy([&] { faceAuthoring_->partTitleMouseDown(3, button); }); }
void TForm1::LblKutiMouseDown(Qt::MouseButton button) { unlessBusy([&] { faceAuthoring_->partTitleMouseDown(4, button); }); }

void TForm1::StartMusic() { guarded([&] { musicPlayer_->StartMusic(); }); }
void TForm1::MusicTimerTimer() { guarded([&] { musicPlayer_->MusicTimerTimer(); }); }
void TForm1::ONO1Click() { guarded([&] { musicPlayer_->ONO1Click(); }); }
void TForm1::OFFF1Click() { guarded([&] { musicPlayer_->OFFF1Click(); }); }
void TForm1::S1Click() { unlessBusy([&] { musicPlayer_->S1Click(); }); }
void TForm1::R2Click() { unlessBusy([&] { musicPlayer_->R2Click(); }); }
// A settings file that cannot be written is reported; the window still
// closes (closeEvent accepts whatever happens here).
void TForm1::FormClose() { guarded([&] { musicPlayer_->FormClose(); }); }

// The music pauses while the About box is open; closing the box restarts it.
void TForm1::About1Click() {
    guarded([&] {
        musicPlayer_->pauseForAbout();
        Form2->exec();
    });
}
void TForm1::Help1Click() { guarded([&] { openHelpText(*services.shell, AppDir); }); }
