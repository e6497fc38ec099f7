#pragma once
// The main window. Its handlers carry the behaviour; each subsystem defines
// its own handlers in its folder (form1_*.cpp) and hands every computation to
// its logic tier. The controls are public, like the window description.
#include "authoring/authoring_state.h"
#include "catalogue/catalogue_mirror.h"
#include "music/music_state.h"
#include "play/play_state.h"
#include "audio/media_control.h"
#include "desktop/random_source.h"
#include "desktop/user_dialogs.h"

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CaptionLabel;
class ImageControl;
class ScrollBox;
class QAction;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTabWidget;
class QTimer;
class TForm2;

// What the window needs from outside. Anything left empty gets the real one
// (Qt dialogs, the desktop, a clock-seeded generator, FluidSynth).
struct Form1Services {
    std::unique_ptr<UserDialogs> dialogs;
    std::unique_ptr<DesktopShell> shell;
    std::unique_ptr<RandomSource> random;
    std::unique_ptr<MediaControl> media;
    // False in tests: the timers run (isActive) but their ticks are delivered
    // by the test calling Timer1Timer / MusicTimerTimer itself.
    bool timersCallHandlers = true;
};

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // appDir: the application folder with one trailing "/".
    TForm1(const QString& appDir, Form1Services services = {});
    ~TForm1() override;

    // ---- Program start and title (main/) ----
    void FormCreate();
    void LoadFaceAnswers();
    void Timer1Timer();
    void ReturnToFaceSelect();

    // ---- Command buttons: dispatch by caption and flags (main/) ----
    void BitBtnHanteiClick();
    void BitBtnCancelClick();
    void BitBtnTorokuClick();
    void ImgFace0Click(ImageControl* sender);

    // ---- Playing (play/) ----
    void BuildThumbnailGrid();
    void SetUpPalette(std::vector<ImageControl*>& images, ScrollBox* box);
    void ShufflePalette(std::vector<ImageControl*>& images);
    void PartsMouseDown(ImageControl* sender, Qt::MouseButton button, int x, int y);
    void PartsDragOver(ImageControl* sender, ImageControl* source, int x, int y, bool& accept);
    void PartsDragDrop(ImageControl* sender, ImageControl* source, int x, int y);
    void ImgFace1DragOver(ImageControl* sender, ImageControl* source, int x, int y, bool& accept);
    void ImgFace1DragDrop(ImageControl* sender, ImageControl* source, int x, int y);
    void Edit1Change();
    void R1Click();
    void ListBox1Click();
    void Blind1Click();
    void Best1Click();
    void BlindTimerTimer();

    // ---- Authoring and deleting (authoring/) ----
    void A1Click();
    void D1Click();
    void ImgFace1MouseDown(Qt::MouseButton button, int x, int y);
    void ImgFace1MouseMove(int x, int y);
    void ImgFace1MouseUp(Qt::MouseButton button, int x, int y);
    void LblRMeMouseDown(Qt::MouseButton button);
    void LblLMeMouseDown(Qt::MouseButton button);
    void LblHanaMouseDown(Qt::MouseButton button);
    void LblKutiMouseDown(Qt::MouseButton button);

    // ---- Background music (music/) ----
    void PlayMidiFile(const QString& path);
    void ScanMidiFolder(const QString& folder);
    void StartMusic();
    void MusicTimerTimer();
    void ONO1Click();
    void OFFF1Click();
    void S1Click();
    void R2Click();
    void FormClose();
    // The media commands: mciSendString returns the device's status code;
    // mciExecute reports a failure to the user.
    int mciSendString(const QString& command, QString* reply = nullptr);
    void mciExecute(const QString& command);

    // ---- About and help (about/) ----
    void About1Click();
    void Help1Click();

    // ---- Module state ----
    QString AppDir;
    CatalogueMirror catalogue;
    PlayState play;
    AuthoringState authoring;
    MusicState music;
    bool TitleShowing = false;
    int TitleTicks = 0;
    QStringList MidiList;  // scan collector

    Form1Services services;

    // ---- Controls (created by the window description, form1_layout.cpp) ----
    QWidget* ClientArea = nullptr;  // the client area below the menu bar, 722 x 524
    QAction* F1 = nullptr;      // the menu's item in the menu bar
    QMenu* F1Menu = nullptr;
    QAction* A1 = nullptr;
    QAction* D1 = nullptr;
    QAction* R1 = nullptr;
    QAction* G1 = nullptr;      // the game menu, enabled together with F1
    QMenu* G1Menu = nullptr;
    QAction* Blind1 = nullptr;
    QAction* Best1 = nullptr;
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
    QPushButton* BitBtnHantei = nullptr;
    QPushButton* BitBtnToroku = nullptr;
    QPushButton* BitBtnCancel = nullptr;
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
    TForm2* Form2 = nullptr;

    // Per-face image controls: Thumbnails[face], PartImages[slot][face].
    std::vector<ImageControl*> Thumbnails;
    std::array<std::vector<ImageControl*>, 5> PartImages;

    // The palette scroll box, part title and preview of a PartSlot 1..4.
    ScrollBox* paletteBox(int slot) const;
    CaptionLabel* partTitle(int slot) const;
    ImageControl* partPreview(int slot) const;
    // Where a part image lies: on the face (the client area) or in its palette.
    bool liesOnFace(const ImageControl* part) const;

    // Runs a handler's body; the program's errors end it and are shown in a
    // message box. Nested calls let the error through to the outermost one.
    void guarded(const std::function<void()>& body);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Window description (form1_layout.cpp).
    void createControls();
    void createMenu();
    void connectHandlers();
    void loadTitlePictures();
    // Catalogue start-up (form1_start.cpp).
    void createFaceControls(int from, int to);
    void releaseFaceControls(int newCount);

    // ---- Play branches (play/) ----
    void startGame(ImageControl* thumbnail);
    void recordHomePositions();
    void sendPartHome(int slot, int face);
    void recordDrop(ImageControl* source);
    void returnPartsToPalettes();
    void judgeFace();
    void resumeGame();
    void askForSaveName();
    void saveFinishedFace();
    void playSideCancel();
    void attachPartHandlers(ImageControl* part);
    void finishDrag(ImageControl* source, QPoint windowPos);
    void updateDragCursor(ImageControl* source, QPoint windowPos);
    ImageControl* partImageAt(QPoint clientPos) const;
    bool isPartImage(const QWidget* widget) const;
    void beginDrag(ImageControl* source, Qt::MouseButton button, QPoint clientPos);
    void endDrag(ImageControl* source);
    void placeOnFace(ImageControl* part, int left, int top);
    QImage composeBoardPicture() const;
    void connectLibraryList();
    void loadPlayChoices();
    void savePlayChoices();
    void startLook();
    void coverFace();
    void startReveal();
    void liftCloth();
    void endBlindfold();
    void showCloth(int lifted);
    void showPersonalBest(std::int64_t total);
    QString placingPrompt() const;

    // ---- Authoring branches (authoring/) ----
    void zoomClick();
    void BeginOutline(CaptionLabel* title, ImageControl* preview);
    void RedrawAuthoringFace(int part);
    void PaintPart();
    void redrawSourcePicture();
    void partTitleMouseDown(int slot, Qt::MouseButton button);
    void registerFace();
    void cancelAuthoring();
    void chooseFaceToDelete(ImageControl* thumbnail);
    void blinkChosenThumbnail();
    void deleteChosenFace();
    void cancelDeleting();
    void endDeleting();
    void prepareFaceBox();
    void releaseSourcePicture();
    void setPartTitlesEnabled(bool enabled);
    void startZoomRectangle(int x, int y);
    void dragZoomRectangle(int x, int y);
    void finishZoomRectangle(int x, int y);
    void startOutline(int x, int y);
    void pickFillColour(int x, int y);
    void extendOutline(int x, int y);
    void finishOutline();
    void removeFaceFromMemory(int face);

    int guardDepth_ = 0;
};

// The captions and prompts shared by several subsystems.
namespace Texts {
inline const QString Hantei = QStringLiteral("判定");
inline const QString Saikai = QStringLiteral("再開");
inline const QString Zoom = QStringLiteral("ズーム");
inline const QString Cancel = QStringLiteral("キャンセル");
inline const QString Hozon = QStringLiteral("保存");
inline const QString Toroku = QStringLiteral("登録");
inline const QString Sakujo = QStringLiteral("削除");
inline const QString ChooseFace = QStringLiteral("作りたい顔をクリックしてください。");
inline const QString PlacingPrompt = QStringLiteral(
    "目・鼻・口をそれぞれドラッグして顔の上に置いてください。\r「キャンセル」ボタンを押すと顔の選択画面に戻ります。");
inline const QString ReadyToJudge = QStringLiteral("これで良ければ「判定」ボタンを押してください。");
}  // namespace Texts
