// Placeholders for the About box and help, still being written.
#include "main/form1.h"
#include "main/form2_factory.h"

void TForm1::About1Click() {}
void TForm1::Help1Click() {}
TForm2* createAboutBox(TForm1*) { return nullptr; }
