// Placeholders for the play handlers still being written; each one moves to
// its own file as it is built.
#include "main/form1.h"

void TForm1::PartsMouseDown(ImageControl*, Qt::MouseButton, int, int) {}
void TForm1::PartsDragOver(ImageControl*, ImageControl*, int, int, bool& accept) { accept = true; }
void TForm1::PartsDragDrop(ImageControl*, ImageControl*, int, int) {}
void TForm1::ImgFace1DragOver(ImageControl*, ImageControl*, int, int, bool& accept) { accept = true; }
void TForm1::ImgFace1DragDrop(ImageControl*, ImageControl*, int, int) {}
void TForm1::Edit1Change() {}
void TForm1::R1Click() {}
void TForm1::ListBox1Click() {}
void TForm1::attachPartHandlers(ImageControl*) {}
void TForm1::judgeFace() {}
void TForm1::resumeGame() {}
void TForm1::askForSaveName() {}
void TForm1::saveFinishedFace() {}
void TForm1::playSideCancel() {}
