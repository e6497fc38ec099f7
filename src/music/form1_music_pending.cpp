// Placeholders for the music handlers still being written.
#include "main/form1.h"

void TForm1::PlayMidiFile(const QString&) {}
void TForm1::ScanMidiFolder(const QString&) {}
void TForm1::StartMusic() {}
void TForm1::MusicTimerTimer() {}
void TForm1::ONO1Click() {}
void TForm1::OFFF1Click() {}
void TForm1::S1Click() {}
void TForm1::R2Click() {}
void TForm1::FormClose() {}
int TForm1::mciSendString(const QString&, QString*) { return 0; }
void TForm1::mciExecute(const QString&) {}
