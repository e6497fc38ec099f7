// Program start: creating the window and its per-face controls, reading the
// catalogue, the title sequence and the end of the title.
#include "main/form1.h"

#include "catalogue/catalogue_files.h"
#include "main/form2_factory.h"
#include "files/app_error.h"
#include "files/app_paths.h"
#include "board/caption_label.h"
#include "board/image_control.h"
#include "pictures/picture_file.h"
#include "desktop/qt_desktop_shell.h"
#include "desktop/qt_user_dialogs.h"
#include "board/scroll_box.h"
#include "play/library.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QListWidget>
#include <QTimer>

TForm1::TForm1(const QString& appDir, Form1Services s) : AppDir(appDir), services(std::move(s)) {
    if (!AppDir.endsWith(QLatin1Char('/'))) AppDir += QLatin1Char('/');
    if (!services.dialogs) services.dialogs = std::make_unique<QtUserDialogs>(this, dialogMemoryFolder(AppDir));
    if (!services.shell) services.shell = std::make_unique<QtDesktopShell>();
    if (!services.random) services.random = std::make_unique<ClockSeededRandom>();
    if (!services.media) services.media = createMediaControl();

    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    createControls();
    loadTitlePictures();
    Timer1->start();
    FormCreate();
    setFixedSize(sizeHint());
    Form2 = createAboutBox(this);
}

TForm1::~TForm1() = default;

void TForm1::loadTitlePictures() {
    // The title and logo are the program's own pictures beside the executable;
    // without them the title simply shows the thumbnails.
    for (auto [control, name] : {std::pair{ImgTitle, "title.bmp"}, std::pair{ImgRogo, "logo.bmp"}}) {
        try {
            const QString path = resolveAppPath(AppDir, QString::fromLatin1(name));
            if (!QFileInfo::exists(path)) continue;
            control->setPicture(loadBitmapFile(path, kTitlePictureMaxPixels));
        } catch (const AppError&) {
        }
    }
}

void TForm1::guarded(const std::function<void()>& body) {
    if (guardDepth_ > 0) {
        body();
        return;
    }
    ++guardDepth_;
    try {
        body();
    } catch (const AppError& e) {
        --guardDepth_;
        services.dialogs->showError(e.message());
        return;
    }
    --guardDepth_;
}

void TForm1::FormCreate() {
    guarded([&] {
        // A change that a crash interrupted is finished or taken back before
        // anything is read; if that fails the user hears why, and the
        // catalogue is read as it is.
        try {
            recoverCatalogue(AppDir);
        } catch (const AppError& e) {
            services.dialogs->showError(e.message());
        }
        int count = readFaceCount(AppDir);
        if (count < 0 || count > kMaxFaceCount) {
            // A count no catalogue can have: use the faces whose pictures are
            // there and name the first one that is not.
            int present = 0;
            while (present < kMaxFaceCount && QFileInfo::exists(facePicturePath(AppDir, present, 0))) ++present;
            services.dialogs->showError(fileOpenErrorText(facePicturePath(AppDir, present, 0)));
            count = present;
        }
        catalogue.faceCount = count;
        catalogue.faceAnswers.assign(count, FaceAnswer{});
        for (int s = 1; s <= 4; ++s) {
            play.homeLeft[s].assign(count, 0);
            play.homeTop[s].assign(count, 0);
        }
        createFaceControls(0, count);
        BuildThumbnailGrid();
        for (int s = 1; s <= 4; ++s) SetUpPalette(PartImages[s], paletteBox(s));
        LoadFaceAnswers();
        play.placedFace.fill(-1);

        ImgTitle->setParent(ScrollBox1->content());
        ImgTitle->move(60, 50);
        ImgTitle->show();
        ImgTitle->raise();
        ImgRogo->setParent(ScrollBox1->content());
        ImgRogo->move(250, 300);
        ImgRogo->show();
        ImgRogo->raise();
        TitleShowing = true;
        Label1->setFontPoints(14);
        Label1->setCaption(Texts::ChooseFace);
    });
}

void TForm1::createFaceControls(int from, int to) {
    Thumbnails.resize(to, nullptr);
    for (int s = 1; s <= 4; ++s) PartImages[s].resize(to, nullptr);
    for (int i = from; i < to; ++i) {
        auto* thumb = new ImageControl(ScrollBox1->content());
        thumb->setObjectName(QStringLiteral("Thumbnail%1").arg(i));
        Thumbnails[i] = thumb;
    }
    for (int i = from; i < to; ++i)
        for (int s = 1; s <= 4; ++s) {
            auto* part = new ImageControl(paletteBox(s)->content());
            part->setObjectName(QStringLiteral("PartImage%1_%2").arg(s).arg(i));
            PartImages[s][i] = part;
        }
}

void TForm1::releaseFaceControls(int newCount) {
    for (int i = newCount; i < int(Thumbnails.size()); ++i) {
        Thumbnails[i]->hide();
        Thumbnails[i]->deleteLater();
        Thumbnails[i]->setParent(nullptr);
        for (int s = 1; s <= 4; ++s) {
            PartImages[s][i]->hide();
            PartImages[s][i]->setParent(nullptr);
            PartImages[s][i]->deleteLater();
        }
    }
    Thumbnails.resize(newCount);
    for (int s = 1; s <= 4; ++s) PartImages[s].resize(newCount);
}

void TForm1::LoadFaceAnswers() {
    catalogue.faceAnswers = readFaceAnswers(AppDir, catalogue.faceCount);
}

void TForm1::Timer1Timer() {
    guarded([&] {
        if (!TitleShowing) {
            blinkChosenThumbnail();
            return;
        }
        ++TitleTicks;
        if (TitleTicks <= 4) return;
        Timer1->stop();
        TitleShowing = false;
        ImgTitle->hide();
        ImgRogo->hide();
        Label1->show();
        F1->setEnabled(true);
        const LibraryListing listing = listLibrary(AppDir);
        ListBox1->addItems(listing.names);
        if (listing.anyEntry) {
            R1->setEnabled(true);
            play.libraryHasFaces = true;
        }
        StartMusic();
    });
}

ScrollBox* TForm1::paletteBox(int slot) const {
    switch (slot) {
    case 1: return SBRMe;
    case 2: return SBLMe;
    case 3: return SBHana;
    case 4: return SBKuti;
    default: return nullptr;
    }
}

CaptionLabel* TForm1::partTitle(int slot) const {
    switch (slot) {
    case 1: return LblRMe;
    case 2: return LblLMe;
    case 3: return LblHana;
    case 4: return LblKuti;
    default: return nullptr;
    }
}

ImageControl* TForm1::partPreview(int slot) const {
    switch (slot) {
    case 1: return ImgTuikaRMe;
    case 2: return ImgTuikaLMe;
    case 3: return ImgTuikaHana;
    case 4: return ImgTuikaKuti;
    default: return nullptr;
    }
}

bool TForm1::liesOnFace(const ImageControl* part) const { return part->parentWidget() == ClientArea; }

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}
