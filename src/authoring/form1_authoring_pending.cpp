// Placeholders for the authoring handlers still being written.
#include "main/form1.h"

void TForm1::A1Click() {}
void TForm1::D1Click() {}
void TForm1::ImgFace1MouseDown(Qt::MouseButton, int, int) {}
void TForm1::ImgFace1MouseMove(int, int) {}
void TForm1::ImgFace1MouseUp(Qt::MouseButton, int, int) {}
void TForm1::LblRMeMouseDown(Qt::MouseButton) {}
void TForm1::LblLMeMouseDown(Qt::MouseButton) {}
void TForm1::LblHanaMouseDown(Qt::MouseButton) {}
void TForm1::LblKutiMouseDown(Qt::MouseButton) {}
void TForm1::zoomClick() {}
void TForm1::registerFace() {}
void TForm1::cancelAuthoring() {}
void TForm1::chooseFaceToDelete(ImageControl*) {}
void TForm1::blinkChosenThumbnail() {}
void TForm1::deleteChosenFace() {}
void TForm1::cancelDeleting() {}
