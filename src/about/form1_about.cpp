// The About command, the help command and the creation of the About box.
#include "about/form2.h"
#include "main/form1.h"
#include "main/form2_factory.h"
#include "files/app_paths.h"

TForm2* createAboutBox(TForm1* owner) {
    auto* box = new TForm2(owner);
    box->hide();
    return box;
}

void TForm1::About1Click() {
    guarded([&] {
        // The music pauses while the box is open; closing the box restarts it.
        if (music.bgmOn) {
            mciExecute(QStringLiteral("stop FILE"));
            music.bgmOn = false;
        }
        Form2->exec();
    });
}

void TForm1::Help1Click() {
    // Whether the help text exists and opens is the desktop's concern.
    guarded([&] { services.shell->open(resolveAppPath(AppDir, QStringLiteral("作品について.txt"))); });
}
