#pragma once
// Creates the About box, hidden, owned by the main window.
class TForm1;
class TForm2;

TForm2* createAboutBox(TForm1* owner);
